#pragma once
// The voice-link host application as the program sees it: a handful of
// operations and two events. Truth values cross the automation boundary as
// -1 / 0; here they are plain bools. Every call can fail: the reply says so
// and names the error in plain words, so each caller can apply its own rule
// (skip the step, or stop the program with a message).
#include <string>

namespace orv {

struct HostReply {
  bool ok = true;
  std::string error;
  static HostReply failure(std::string why) { return {false, std::move(why)}; }
};

template <class T>
struct HostValue {
  bool ok = true;
  T value{};
  std::string error;
  static HostValue failure(std::string why) { return {false, T{}, std::move(why)}; }
};

// Events from the host, delivered on the user-interface thread.
class HostEvents {
 public:
  virtual ~HostEvents() = default;
  virtual void onDtmfString(const std::string& digits) = 0;
  virtual void onClosing() = 0;
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
};

}  // namespace orv
