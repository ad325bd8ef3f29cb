#pragma once
// A host that records every call as text ("SetTransmit(0)", "TransmitFile(C:\a.wav,-1)"),
// truth values as -1/0 as they cross the automation boundary, and can be told
// to report busy flags, fail chosen calls and raise events.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/host.h"

namespace orv::test {

class RecordingHost : public Host {
 public:
  HostReply setTransmit(bool on) override { return reply("SetTransmit(" + b(on) + ")"); }
  HostValue<bool> firstBusyFlag() override { return flag("FirstBusyFlag", firstBusy); }
  HostValue<bool> secondBusyFlag() override { return flag("SecondBusyFlag", secondBusy); }
  HostReply sendIdentification(bool v) override { return reply("SendIdentification(" + b(v) + ")"); }
  HostReply transmitFile(const std::string& path, bool v) override {
    return reply("TransmitFile(" + path + "," + b(v) + ")");
  }
  HostValue<std::string> stationName() override {
    if (disconnected) return reached("StationName"), HostValue<std::string>::lost("StationName: disconnected");
    calls.push_back("StationName");
    if (failing("StationName")) return HostValue<std::string>::failure("StationName failed");
    return {true, station, {}};
  }
  HostReply exitSignal(bool v) override { return reply("ExitSignal(" + b(v) + ")"); }
  void setEventSink(HostEvents* s) override { sink = s; }

  void raiseDtmf(const std::string& digits) { if (sink) sink->onDtmfString(digits); }
  void raiseClosing() { if (sink) sink->onClosing(); }

  // Calls whose name (the text before "(") starts with `name` fail.
  void fail(const std::string& name) { failures[name] = true; }
  void heal(const std::string& name) { failures.erase(name); }

  // The calls whose text starts with `prefix`.
  std::vector<std::string> callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& c : calls)
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    return out;
  }
  int count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += (c == call);
    return n;
  }

  std::vector<std::string> calls;
  bool firstBusy = false;
  bool secondBusy = false;
  std::string station = "PY2TEST";
  HostEvents* sink = nullptr;
  std::function<void(const std::string&)> onCall;  // runs after each call is recorded
  std::map<std::string, bool> failures;
  // The host's process went away: every call fails as not reaching it, and
  // is counted, not recorded.
  bool disconnected = false;
  int callsWhileDisconnected = 0;
  // The host stopped answering: every call is given up on (gone, and
  // unanswered: it may have acted on it), and counted as disconnected ones are.
  bool hung = false;

 private:
  static std::string b(bool v) { return v ? "-1" : "0"; }
  bool failing(const std::string& call) const {
    for (const auto& [name, on] : failures)
      if (on && call.rfind(name, 0) == 0) return true;
    return false;
  }
  void reached(const std::string&) { ++callsWhileDisconnected; }
  HostReply reply(std::string call) {
    if (hung) return reached(call), HostReply::givenUp(call + ": no answer");
    if (disconnected) return reached(call), HostReply::lost(call + ": disconnected");
    calls.push_back(call);
    if (onCall) onCall(call);
    if (failing(call)) return HostReply::failure(call + " failed");
    return {};
  }
  HostValue<bool> flag(const std::string& name, bool v) {
    if (hung) return reached(name), HostValue<bool>::givenUp(name + ": no answer");
    if (disconnected) return reached(name), HostValue<bool>::lost(name + ": disconnected");
    calls.push_back(name);
    if (onCall) onCall(name);
    if (failing(name)) return HostValue<bool>::failure(name + " failed");
    return {true, v, {}};
  }
};

}  // namespace orv::test
