#include "host/logging_host.h"

#include <filesystem>

namespace orv {
namespace {

std::string truth(bool v) { return v ? "-1" : "0"; }

// A path that keeps its non-ASCII characters on every platform.
std::filesystem::path pathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

LoggingHost::LoggingHost(Host& inner, Clock& clock, const std::string& path)
    : inner_(inner), clock_(clock), out_(pathOf(path), std::ios::out | std::ios::app | std::ios::binary) {}

LoggingHost::~LoggingHost() {
  if (sink_) inner_.setEventSink(nullptr);
}

std::string LoggingHost::escape(const std::string& text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void LoggingHost::write(const std::string& line) {
  if (!out_.is_open()) return;
  out_ << clock_.logTimestamp() << ' ' << line << '\n';
  out_.flush();
}

HostReply LoggingHost::logged(const std::string& call, HostReply reply) {
  write(reply.ok ? call : call + " FAILED: " + escape(reply.error));
  return reply;
}

HostValue<bool> LoggingHost::logged(const std::string& call, HostValue<bool> value) {
  write(value.ok ? call + " -> " + truth(value.value) : call + " FAILED: " + escape(value.error));
  return value;
}

HostReply LoggingHost::setTransmit(bool on) {
  if (inner_.gone()) return inner_.setTransmit(on);
  return logged("SetTransmit(" + truth(on) + ")", inner_.setTransmit(on));
}

HostValue<bool> LoggingHost::firstBusyFlag() {
  if (inner_.gone()) return inner_.firstBusyFlag();
  return logged("FirstBusyFlag", inner_.firstBusyFlag());
}

HostValue<bool> LoggingHost::secondBusyFlag() {
  if (inner_.gone()) return inner_.secondBusyFlag();
  return logged("SecondBusyFlag", inner_.secondBusyFlag());
}

HostReply LoggingHost::sendIdentification(bool value) {
  if (inner_.gone()) return inner_.sendIdentification(value);
  return logged("SendIdentification(" + truth(value) + ")", inner_.sendIdentification(value));
}

HostReply LoggingHost::transmitFile(const std::string& path, bool value) {
  if (inner_.gone()) return inner_.transmitFile(path, value);
  // Paths keep their backslashes readable; only control characters are escaped.
  std::string shown;
  for (char c : path) shown += (c == '\\') ? std::string("\\") : escape(std::string(1, c));
  return logged("TransmitFile(" + shown + "," + truth(value) + ")", inner_.transmitFile(path, value));
}

HostValue<std::string> LoggingHost::stationName() {
  if (inner_.gone()) return inner_.stationName();
  auto name = inner_.stationName();
  write(name.ok ? "StationName -> " + escape(name.value) : "StationName FAILED: " + escape(name.error));
  return name;
}

HostReply LoggingHost::exitSignal(bool value) {
  if (inner_.gone()) return inner_.exitSignal(value);
  return logged("ExitSignal(" + truth(value) + ")", inner_.exitSignal(value));
}

void LoggingHost::setEventSink(HostEvents* sink) {
  sink_ = sink;
  inner_.setEventSink(sink ? static_cast<HostEvents*>(this) : nullptr);
}

void LoggingHost::onDtmfString(const std::string& digits) {
  write("event DTMFString(" + escape(dtmfMask_ ? dtmfMask_(digits) : digits) + ")");
  if (sink_) sink_->onDtmfString(digits);
}

void LoggingHost::onClosing() {
  write("event Closing");
  if (sink_) sink_->onClosing();
}

// The link has written how and why; the program hears it as an event.
void LoggingHost::onHostLost(const std::string& why) {
  if (sink_) sink_->onHostLost(why);
}

void LoggingHost::onHostBack(const std::string& stationName) {
  if (sink_) sink_->onHostBack(stationName);
}

}  // namespace orv
