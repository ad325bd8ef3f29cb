#include "host/simulated_host.h"

namespace orv {

void SimulatedHost::record(std::string text) {
  ++total_;
  std::string time = clock_ ? clock_->timeOfDayText() : std::string();
  bool merged = !calls_.empty() && calls_.back().text == text;
  if (merged) {
    calls_.back().repeats++;
    calls_.back().time = std::move(time);
  } else {
    calls_.push_back({std::move(text), 1, std::move(time)});
    if (calls_.size() > kMaxCalls) calls_.pop_front();
  }
  if (onCall) onCall(calls_.back(), merged);
}

void SimulatedHost::setStation(std::string name) { change(station_, std::move(name)); }
void SimulatedHost::setFirstBusy(bool on) { change(firstBusy_, on); }
void SimulatedHost::setSecondBusy(bool on) { change(secondBusy_, on); }

HostReply SimulatedHost::setTransmit(bool on) {
  record("SetTransmit(" + truth(on) + ")");
  change(transmitting_, on);
  return {};
}

HostValue<bool> SimulatedHost::firstBusyFlag() {
  record("FirstBusyFlag");
  return {true, firstBusy_, {}};
}

HostValue<bool> SimulatedHost::secondBusyFlag() {
  record("SecondBusyFlag");
  return {true, secondBusy_, {}};
}

HostReply SimulatedHost::sendIdentification(bool value) {
  record("SendIdentification(" + truth(value) + ")");
  return {};
}

HostReply SimulatedHost::transmitFile(const std::string& path, bool value) {
  record("TransmitFile(" + path + "," + truth(value) + ")");
  return {};
}

HostValue<std::string> SimulatedHost::stationName() {
  record("StationName");
  return {true, station_, {}};
}

HostReply SimulatedHost::exitSignal(bool value) {
  record("ExitSignal(" + truth(value) + ")");
  return {};
}

bool SimulatedHost::sendDtmf(const std::string& digits) {
  if (!sink_) return false;
  sink_->onDtmfString(digits);
  return true;
}

bool SimulatedHost::close() {
  if (!sink_) return false;
  sink_->onClosing();
  return true;
}

}  // namespace orv
