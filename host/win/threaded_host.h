#pragma once
// The host as the window's thread calls it: each call is handed to the
// host's own thread and waited for in a wait that keeps the window alive
// (call_wait.h). A call not answered by its deadline is given up: it fails
// as `gone`, the host object and its thread are left to finish on their own
// and never touched again, and every later call fails at once the same way.
// Two calls are never under way together: a call made from inside the wait
// of another (only the ways the program ends do this) first waits for that
// one to be answered or given up.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "host/host.h"
#include "host/win/host_event_queue.h"
#include "host/win/host_thread.h"

namespace orv::win {

struct MadeHost {
  std::unique_ptr<Host> host;   // null when none could be made
  std::string error;            // why not
  std::string eventsError;      // made, but its events could not be connected
  bool unanswered = false;      // the making itself was given up
};

// Makes the host object on its thread; its events go to `events`.
using HostMaker = std::function<MadeHost(std::shared_ptr<HostEventTarget> events)>;

class ThreadedHost final : public Host {
 public:
  // Runs `make` on a new host thread, waiting at most `answerLimit` for it
  // as for any call. The host returned is a ThreadedHost.
  static MadeHost Create(HostMaker make, std::chrono::milliseconds answerLimit);
  ~ThreadedHost() override;
  ThreadedHost(const ThreadedHost&) = delete;
  ThreadedHost& operator=(const ThreadedHost&) = delete;

  HostReply setTransmit(bool on) override;
  HostValue<bool> firstBusyFlag() override;
  HostValue<bool> secondBusyFlag() override;
  HostReply sendIdentification(bool value) override;
  HostReply transmitFile(const std::string& path, bool value) override;
  HostValue<std::string> stationName() override;
  HostReply exitSignal(bool value) override;
  void setEventSink(HostEvents* sink) override { queue_->deliverTo(sink); }
  bool gone() const override { return givenUp_; }
  bool calling() const override { return CallWaitDepth() > 0; }

  // "the host did not answer in 10 s"
  static std::string NoAnswerText(std::chrono::milliseconds limit);

 private:
  ThreadedHost(std::shared_ptr<HostThread> thread, std::shared_ptr<HostEventQueue> queue,
               std::chrono::milliseconds answerLimit);
  template <class R, class Call>
  R call(const char* op, Call&& hostCall);
  // Runs the job on the host thread; false when it was given up.
  bool run(const std::shared_ptr<HostJob>& job);
  bool await(HostJob& job);
  void giveUp(const HostJob& job);

  std::shared_ptr<HostThread> thread_;   // null once given up
  std::shared_ptr<HostEventQueue> queue_;
  std::chrono::milliseconds answerLimit_;
  std::shared_ptr<HostJob> inFlight_;
  bool givenUp_ = false;
  std::string givenUpWhy_;
};

}  // namespace orv::win
