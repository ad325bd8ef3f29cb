#pragma once
// The host as the program holds it through the host application's crashes,
// hangs and restarts. Calls go to the current connection; a call that finds
// the host gone (its process died or disconnected without raising Closing,
// or it did not answer in time) loses the connection, and from then on calls
// are answered at once without touching the dead object, while a fresh
// connection is tried at once and then every 10 s the way start-up makes
// one. A new connection is unkeyed before anything else is asked of it; a
// release (SetTransmit(False)) that loses the host is made through that
// fresh connection right away. A connection made whose first calls fail is
// asked again at the next attempt rather than another one made.
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "platform/timers.h"

namespace orv {

// Makes a new connection to the host application: its automation object with
// the events connected, as start-up does. On Windows this starts the host
// application when it is not running.
class HostConnector {
 public:
  struct Connection {
    std::unique_ptr<Host> host;   // null when none could be made
    std::string error;            // why not
    std::string eventsError;      // made, but its events could not be connected
  };
  virtual ~HostConnector() = default;
  virtual Connection connect() = 0;
};

class HostLink : public Host, private HostEvents {
 public:
  static constexpr Millis kRetryInterval{10000};
  // An attempt due while a call is still under way further up the stack
  // comes this much later instead.
  static constexpr Millis kRetrySoon{100};
  static inline const std::string kNotConnected = "the host application is not connected";

  HostLink(std::unique_ptr<Host> first, HostConnector& connector, TimerService& timers);
  ~HostLink() override;
  HostLink(const HostLink&) = delete;
  HostLink& operator=(const HostLink&) = delete;

  HostReply setTransmit(bool on) override;
  HostValue<bool> firstBusyFlag() override;
  HostValue<bool> secondBusyFlag() override;
  HostReply sendIdentification(bool value) override;
  HostReply transmitFile(const std::string& path, bool value) override;
  HostValue<std::string> stationName() override;
  HostReply exitSignal(bool value) override;
  void setEventSink(HostEvents* sink) override { sink_ = sink; }
  bool gone() const override { return !current_; }
  // A reconnection's own calls count too: nothing else reaches the host
  // while they wait.
  bool calling() const override { return depth_ > 0 || connecting_; }

  // One reconnection attempt now (the timer's work).
  void retry();

 private:
  template <class R, class Call>
  R forward(Call&& call, bool release = false);
  // True when connected again.
  bool attempt();
  void lose(const std::string& why, bool givenUp);
  void note(const std::string& text);
  void onDtmfString(const std::string& digits) override;
  void onClosing() override;

  std::unique_ptr<Host> current_;
  // Connections that went away, kept until no call into them can still be
  // on the stack.
  std::vector<std::unique_ptr<Host>> retired_;
  // Made, but its first calls failed without it going away.
  HostConnector::Connection pending_;
  HostConnector& connector_;
  std::unique_ptr<Timer> timer_;
  HostEvents* sink_ = nullptr;
  int depth_ = 0;
  bool connecting_ = false;
};

}  // namespace orv
