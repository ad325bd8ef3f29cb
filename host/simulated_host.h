#pragma once
// A stand-in for the voice-link host application, for running the program
// without it: it accepts every call, remembers the transmitter state and the
// calls received, and the operator (through the simulator window) sets the
// station name and busy flags, sends DTMF strings and closes the host.
#include <cstddef>
#include <deque>
#include <functional>
#include <string>

#include "host/host.h"
#include "platform/clock.h"

namespace orv {

class SimulatedHost : public Host {
 public:
  static constexpr const char* kDefaultStation = "PY2SIM-L";
  // Consecutive equal calls share one entry, so the idle SetTransmit(0) once a
  // second does not flood the list; past this many entries the oldest go.
  static constexpr std::size_t kMaxCalls = 200;

  struct Call {
    std::string text;     // "SetTransmit(-1)", "TransmitFile(C:\a.wav,-1)", "StationName"
    int repeats = 1;      // how many times in a row
    std::string time;     // time of day of the latest one; empty without a clock
  };

  // `clock` (may be null) stamps the calls with the time of day.
  explicit SimulatedHost(const Clock* clock = nullptr) : clock_(clock) {}

  // Host
  HostReply setTransmit(bool on) override;
  HostValue<bool> firstBusyFlag() override;
  HostValue<bool> secondBusyFlag() override;
  HostReply sendIdentification(bool value) override;
  HostReply transmitFile(const std::string& path, bool value) override;
  HostValue<std::string> stationName() override;
  HostReply exitSignal(bool value) override;
  void setEventSink(HostEvents* sink) override { sink_ = sink; }

  // Operator side.
  bool transmitting() const { return transmitting_; }
  const std::string& station() const { return station_; }
  bool firstBusy() const { return firstBusy_; }
  bool secondBusy() const { return secondBusy_; }
  void setStation(std::string name);
  void setFirstBusy(bool on);
  void setSecondBusy(bool on);
  // Raise the events; false when nobody listens. The listener may end the
  // program from inside, so callers must not rely on anything afterwards.
  bool sendDtmf(const std::string& digits);
  bool close();

  const std::deque<Call>& calls() const { return calls_; }
  std::size_t totalCalls() const { return total_; }

  // For the window: a call was recorded (`merged`: the last entry's count
  // went up instead of a new entry), or the transmitter state, the station
  // or a busy flag changed.
  std::function<void(const Call& call, bool merged)> onCall;
  std::function<void()> onStateChange;

 private:
  void record(std::string text);
  template <class T>
  void change(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    if (onStateChange) onStateChange();
  }
  static std::string truth(bool v) { return v ? "-1" : "0"; }

  const Clock* clock_;
  HostEvents* sink_ = nullptr;
  std::string station_ = kDefaultStation;
  bool transmitting_ = false;
  bool firstBusy_ = false;
  bool secondBusy_ = false;
  std::deque<Call> calls_;
  std::size_t total_ = 0;
};

}  // namespace orv
