#include "host/host_link.h"

#include <utility>

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
R HostLink::forward(Call&& call, bool release) {
  if (!current_) return R::lost(kNotConnected);
  Host* used = current_.get();
  ++depth_;
  R reply = call(*used);
  --depth_;
  // A call further up may have lost this connection and made another already.
  if (!reply.gone || current_.get() != used) return reply;
  lose(reply.error, reply.unanswered);
  // A host given up on may still hold the radio: unkeying cannot wait for
  // the timer, and a fresh connection's first step is the very release that
  // was asked for. A host whose process went took the radio down with it.
  if (release && reply.unanswered && !connecting_ && attempt()) return R{};
  return reply;
}

HostReply HostLink::setTransmit(bool on) {
  return forward<HostReply>([&](Host& h) { return h.setTransmit(on); }, !on);
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

void HostLink::lose(const std::string& why, bool givenUp) {
  current_->setEventSink(nullptr);
  retired_.push_back(std::move(current_));
  // A host given up on is released through a fresh connection at once, from
  // the message loop once the handler that met the loss has finished. One
  // that went away is not started again at once: every 10 s, as always.
  timer_->start(givenUp ? Millis(0) : kRetryInterval);
  note("host lost: " + why);
  if (sink_) sink_->onHostLost(why);
}

void HostLink::retry() {
  if (current_ || connecting_) return timer_->stop();
  if (depth_ > 0) return timer_->start(kRetrySoon);
  attempt();
}

bool HostLink::attempt() {
  timer_->start(kRetryInterval);
  // Letting go of old connections, making the new one and its first calls
  // all wait for the host, and their waits dispatch timers: no second
  // attempt starts inside this one.
  connecting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{connecting_};
  if (depth_ == 0) std::exchange(retired_, {}).clear();
  note("host reconnect attempt");
  if (!pending_.host) {
    pending_ = connector_.connect();
    if (!pending_.host) {
      note("host reconnect failed: " + pending_.error);
      return false;
    }
  }
  // A host slow to start answers later: the same connection is asked
  // again, unless it is gone.
  auto failed = [&](bool gone, const std::string& error) {
    note("host reconnect failed: " + error);
    if (gone) pending_ = {};
    return false;
  };
  // Whatever the radio was doing when the host went, it starts unkeyed.
  if (auto r = pending_.host->setTransmit(false); !r.ok) return failed(r.gone, r.error);
  auto station = pending_.host->stationName();
  if (!station.ok) return failed(station.gone, station.error);
  if (!pending_.eventsError.empty()) note("host events not connected: " + pending_.eventsError);
  current_ = std::move(pending_.host);
  pending_ = {};
  current_->setEventSink(this);
  timer_->stop();
  note("host reconnected: SetTransmit(0), StationName -> " + station.value);
  if (sink_) sink_->onHostBack(station.value);
  return true;
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
