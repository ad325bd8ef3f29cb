#pragma once
// The voice-link host application as the program sees it: a handful of
// operations and two events. Truth values cross the automation boundary as
// -1 / 0; here they are plain bools. Every call can fail: the reply says so
// and names the error in plain words, so each caller can apply its own rule
// (skip the step, or stop the program with a message).
//
// A failure is `gone` when the host itself is no longer there (its process
// died or disconnected, or it did not answer in time), as opposed to a host
// that answered with an error: nothing is gained by stopping the program for
// a host that cannot hear it.
//
// What the program can count on from the real host's connection (on
// Windows), though it calls it synchronously from the window's thread:
// - Every call returns within about 10 s. The host's object lives on a
//   thread of its own; the window's thread waits for the answer in a wait
//   that keeps the window painting, its timers ticking and its sent and
//   posted messages answered, while the operator's mouse and keyboard
//   input stays queued until the call returns. calling() is true during
//   that wait, and the host's events are held back until it ends.
// - A call not answered in 10 s is given up: it fails as `gone` ("the host
//   did not answer in 10 s"), the stuck object is never touched again, and
//   the link (host_link.h) loses the connection and makes a fresh one at
//   once, unkeying through it first. Making a connection is bounded the
//   same way.
// - A call made while another is still waiting further up the stack (only
//   the ways the program ends do this, from a message that came in during
//   the wait) first waits for that one to return or be given up; two calls
//   are never under way together.
// - A host that rejects calls (busy in a dialog) is asked again for about a
//   second, then the call fails as an answer, not as `gone`.
#include <string>

namespace orv {

struct HostReply {
  bool ok = true;
  std::string error;
  bool gone = false;
  // Gone while the call was under way and never answered (given up on):
  // the host may have acted on it, so a transmitter it was asked to key may
  // be keyed until a fresh connection releases it.
  bool unanswered = false;
  static HostReply failure(std::string why) { return {false, std::move(why), false}; }
  static HostReply lost(std::string why) { return {false, std::move(why), true}; }
  static HostReply givenUp(std::string why) { return {false, std::move(why), true, true}; }
};

template <class T>
struct HostValue {
  bool ok = true;
  T value{};
  std::string error;
  bool gone = false;
  bool unanswered = false;   // as HostReply's
  static HostValue failure(std::string why) { return {false, T{}, std::move(why), false}; }
  static HostValue lost(std::string why) { return {false, T{}, std::move(why), true}; }
  static HostValue givenUp(std::string why) { return {false, T{}, std::move(why), true, true}; }
};

// Events from the host, delivered on the user-interface thread.
class HostEvents {
 public:
  virtual ~HostEvents() = default;
  virtual void onDtmfString(const std::string& digits) = 0;
  virtual void onClosing() = 0;
  // The host went away without closing, and came back (reconnected, with
  // the station name it now has). Hosts that never go away raise neither.
  virtual void onHostLost(const std::string& why) {}
  virtual void onHostBack(const std::string& stationName) {}
  // How the connection fares, for the host log only.
  virtual void onHostNote(const std::string& text) {}
};

class Host {
 public:
  virtual ~Host() = default;
  virtual HostReply setTransmit(bool on) = 0;
  virtual HostValue<bool> firstBusyFlag() = 0;
  virtual HostValue<bool> secondBusyFlag() = 0;
  virtual HostReply sendIdentification(bool value) = 0;   // optional 2nd argument always omitted
  virtual HostReply transmitFile(const std::string& path, bool value) = 0;
  virtual HostValue<std::string> stationName() = 0;       // StationObject.StationName
  virtual HostReply exitSignal(bool value) = 0;
  // Where events go; nullptr stops them.
  virtual void setEventSink(HostEvents* sink) = 0;
  // The host is not there: calls are answered at once, failed and `gone`.
  virtual bool gone() const { return false; }
  // A call to the host is under way further up this thread's stack (its
  // wait dispatches timer messages): a tick that finds this defers its work
  // rather than run inside the call.
  virtual bool calling() const { return false; }
};

}  // namespace orv
