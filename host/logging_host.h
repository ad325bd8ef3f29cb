#pragma once
// Wraps a host and appends one line per call and per event to a file, so a
// session with the real host can be checked afterwards:
//   2026-12-08 14:05:09.123 SetTransmit(-1)
//   2026-12-08 14:05:09.130 FirstBusyFlag -> 0
//   2026-12-08 14:05:10.002 TransmitFile(C:\msg\a.wav,-1) FAILED: <error>
//   2026-12-08 14:05:11.500 event DTMFString(AA)
//   2026-12-08 14:05:12.000 event Closing
//   2026-12-08 14:05:13.000 host lost: FirstBusyFlag failed: <error>
// Calls a gone host answers without being reached are not written: the log
// holds what reached the host, and how its connection fared.
#include <fstream>
#include <functional>
#include <string>

#include "host/host.h"
#include "platform/clock.h"

namespace orv {

class LoggingHost : public Host, private HostEvents {
 public:
  // `path` is UTF-8. The file is opened for appending and kept open.
  LoggingHost(Host& inner, Clock& clock, const std::string& path);
  ~LoggingHost() override;
  LoggingHost(const LoggingHost&) = delete;
  LoggingHost& operator=(const LoggingHost&) = delete;

  // False when the file could not be opened; the host still works, unlogged.
  bool isOpen() const { return out_.is_open(); }

  HostReply setTransmit(bool on) override;
  HostValue<bool> firstBusyFlag() override;
  HostValue<bool> secondBusyFlag() override;
  HostReply sendIdentification(bool value) override;
  HostReply transmitFile(const std::string& path, bool value) override;
  HostValue<std::string> stationName() override;
  HostReply exitSignal(bool value) override;
  void setEventSink(HostEvents* sink) override;
  bool gone() const override { return inner_.gone(); }
  bool calling() const override { return inner_.calling(); }

  // How a DTMF string is written: a string that may carry an access code
  // is masked by the one who knows the code. Unset: written as received.
  void setDtmfMask(std::function<std::string(const std::string&)> mask) { dtmfMask_ = std::move(mask); }

  // A line of the program's own about the host ("host events not connected: ...").
  void note(const std::string& text) { write(escape(text)); }

  // Control characters and "\" become escapes ("\x07", "\\"): digits come from
  // remote stations and must not be able to forge log lines.
  static std::string escape(const std::string& text);

 private:
  void onDtmfString(const std::string& digits) override;
  void onClosing() override;
  void onHostLost(const std::string& why) override;
  void onHostBack(const std::string& stationName) override;
  void onHostNote(const std::string& text) override { note(text); }
  void write(const std::string& line);
  HostReply logged(const std::string& call, HostReply reply);
  HostValue<bool> logged(const std::string& call, HostValue<bool> value);

  Host& inner_;
  Clock& clock_;
  std::ofstream out_;
  HostEvents* sink_ = nullptr;
  std::function<std::string(const std::string&)> dtmfMask_;
};

}  // namespace orv
