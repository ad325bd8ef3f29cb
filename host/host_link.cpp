#include "host/host_link.h"

namespace orv {

HostLink::HostLink(std::unique_ptr<Host> first, HostConnector& connector, TimerService& timers)
    : current_(std::move(first)), connector_(connector), timer_(timers.create([this] { retry(); })) {
  if (current_) current_->setEventSink(this);
  else timer_->start(kRetryInterval);
}

HostLink::~HostLink() {
  timer_->stop();
  if (current_) current_->setEventSink(nullptr);
}

template <class R, class Call>
R HostLink::forward(Call&& call) {
  if (!current_) return R::lost(kNotConnected);
  ++depth_;
  R reply = call(*current_);
  --depth_;
  if (reply.gone) lose(reply.error);
  return reply;
}

HostReply HostLink::setTransmit(bool on) {
  return forward<HostReply>([&](Host& h) { return h.setTransmit(on); });
}
HostValue<bool> HostLink::firstBusyFlag() {
  return forward<HostValue<bool>>([](Host& h) { return h.firstBusyFlag(); });
}
HostValue<bool> HostLink::secondBusyFlag() {
  return forward<HostValue<bool>>([](Host& h) { return h.secondBusyFlag(); });
}
HostReply HostLink::sendIdentification(bool value) {
  return forward<HostReply>([&](Host& h) { return h.sendIdentification(value); });
}
HostReply HostLink::transmitFile(const std::string& path, bool value) {
  return forward<HostReply>([&](Host& h) { return h.transmitFile(path, value); });
}
HostValue<std::string> HostLink::stationName() {
  return forward<HostValue<std::string>>([](Host& h) { return h.stationName(); });
}
HostReply HostLink::exitSignal(bool value) {
  return forward<HostReply>([&](Host& h) { return h.exitSignal(value); });
}

void HostLink::lose(const std::string& why) {
  if (!current_) return;   // an outer call on the same object found it gone too
  current_->setEventSink(nullptr);
  retired_ = std::move(current_);
  timer_->start(kRetryInterval);
  note("host lost: " + why);
  if (sink_) sink_->onHostLost(why);
}

void HostLink::retry() {
  // Connected again already, or a call further up is still waiting.
  if (current_ || connecting_ || depth_ > 0) return;
  retired_.reset();
  note("host reconnect attempt");
  // The creation and the new host's first calls may dispatch timers too.
  connecting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{connecting_};
  HostConnector::Connection made = connector_.connect();
  if (!made.host) return note("host reconnect failed: " + made.error);
  // Whatever the radio was doing when the host went, it starts unkeyed.
  if (auto r = made.host->setTransmit(false); !r.ok) return note("host reconnect failed: " + r.error);
  auto station = made.host->stationName();
  if (!station.ok) return note("host reconnect failed: " + station.error);
  if (!made.eventsError.empty()) note("host events not connected: " + made.eventsError);
  current_ = std::move(made.host);
  current_->setEventSink(this);
  timer_->stop();
  note("host reconnected: SetTransmit(0), StationName -> " + station.value);
  if (sink_) sink_->onHostBack(station.value);
}

void HostLink::note(const std::string& text) {
  if (sink_) sink_->onHostNote(text);
}

void HostLink::onDtmfString(const std::string& digits) {
  if (sink_) sink_->onDtmfString(digits);
}

void HostLink::onClosing() {
  if (sink_) sink_->onClosing();
}

}  // namespace orv
