#include "scheduler/transmitter_guard.h"

#include <algorithm>
#include <cmath>

#include "scheduler/host_copy_path.h"
#include "scheduler/message_path.h"
#include "scheduler/message_send.h"

namespace orv {

namespace {

using namespace std::chrono_literals;

// Longest wait the safety net accepts; longer lengths are misreports anyway.
constexpr double kLongestLength = 25.0 * 3600;
constexpr double kSafetyMargin = 5.0;

const std::string kOutcomeHeldFailing = "não enviada: o programa está sendo encerrado por um erro";
const std::string kOutcomeHeldEnding = "não enviada: o programa está sendo encerrado";
const std::string kOutcomeHeldStopped = "não enviada: envios parados pelo rádio";
const std::string kOutcomeHeldCalling = "não enviada: o host ainda não respondeu à chamada anterior";
const std::string kOutcomeHeldPreview = "não enviada: um arquivo está sendo ouvido nos alto-falantes";

}  // namespace

TransmitterGuard::TransmitterGuard(FormControls& controls, FormServices& services, FormFields& fields,
                                   LocalPlayer& player)
    : c_(controls), s_(services), f_(fields), player_(player) {}

TransmitterGuard::~TransmitterGuard() = default;

bool TransmitterGuard::ending() const { return ending_ || (s_.app && s_.app->quitting()); }

TransmitterGuard::Hold TransmitterGuard::haltReason() const {
  if (f_.failing) return Hold::Failing;
  if (ending()) return Hold::Ending;
  if (stopped_ && !answeringStop_) return Hold::Stopped;
  return Hold::None;
}

TransmitterGuard::Hold TransmitterGuard::holdNow(bool waitForPlayback) const {
  if (const Hold halt = haltReason(); halt != Hold::None) return halt;
  Host& host = *s_.EchoLink;
  // A host that is not there counts as a busy one: nobody would key the radio.
  if (HostGone(host)) return Hold::HostGone;
  // A call further up the stack is never joined by a second one.
  if (host.calling()) return Hold::HostCalling;
  if (preview_) return Hold::Previewing;
  if (waitForPlayback && player_.playing()) return Hold::OnAir;
  return Hold::None;
}

void TransmitterGuard::showKeyed() {
  mayBeKeyed_ = true;
  c_.PTT->setTextColor(kPttOnColor);
  c_.PTT->setText("PTT ON");
}

void TransmitterGuard::showUnkeyed() {
  mayBeKeyed_ = false;
  if (safetyNet_) safetyNet_->stop();
  c_.PTT->setTextColor(kPttOffColor);
  c_.PTT->setText("PTT OFF");
}

template <class Call>
auto TransmitterGuard::ask(Call&& call) {
  // A host given up on while it may hold the radio keyed (hung, not dead:
  // a dead host's process takes the transmitter down with it) holds it
  // until a fresh connection has released it. The loss is announced from
  // inside the call, before its reply says how it went: the indicator is
  // decided here, after it.
  const bool keyedBefore = mayBeKeyed_;
  ++asking_;
  auto reply = call(*s_.EchoLink);
  --asking_;
  lastCall_ = s_.clock->monotonic();
  if (reply.gone) {
    if (reply.unanswered && keyedBefore) hungKeyed_ = true;
    if (keyedBefore && !hungKeyed_ && asking_ == 0) showUnkeyed();
  }
  return reply;
}

HostReply TransmitterGuard::setTransmit(bool on) {
  return ask([&](Host& h) { return h.setTransmit(on); });
}

bool TransmitterGuard::hostBusy() {
  // A flag that cannot be read counts as free; a host found gone, as busy.
  if (auto busy = ask([](Host& h) { return h.secondBusyFlag(); }); busy.gone || (busy.ok && busy.value)) return true;
  if (auto busy = ask([](Host& h) { return h.firstBusyFlag(); }); busy.gone || (busy.ok && busy.value)) return true;
  return false;
}

void TransmitterGuard::lostHost() {
  if (!hungKeyed_ && asking_ == 0) showUnkeyed();
}

HostReply TransmitterGuard::unkey() {
  HostReply reply = setTransmit(false);
  if (reply.ok) showUnkeyed();
  else if (reply.gone) lostHost();
  else retryRelease();
  return reply;
}

void TransmitterGuard::onHostBack() {
  hungKeyed_ = false;
  if (!ending()) showUnkeyed();
}

void TransmitterGuard::lostWhileKeying(const HostReply& keyed) {
  // A call that never reached the host keyed nothing; one given up on may
  // have keyed it.
  if (keyed.unanswered) hungKeyed_ = true;
  lostHost();
}

HostReply TransmitterGuard::release() {
  player_.unload();
  if (HostGone(*s_.EchoLink)) {
    lostHost();
    return HostReply::lost("the host application is not connected");
  }
  if (s_.EchoLink->calling()) {
    // The call waiting further up may be the one that keys: ask again once
    // it has returned, never beside it.
    retryRelease();
    return HostReply::failure("a call to the host is still waiting");
  }
  return unkey();
}

void TransmitterGuard::onPlaybackEnd() {
  if (!player_.playing() && !mayBeKeyed_) {
    // Idle: the once-a-second unkey. A host that refuses it is not asked
    // again for a while, so its rejected calls do not fill the thread.
    const Millis now = s_.clock->monotonic();
    if (idleRefusedAt_.count() >= 0 && now - idleRefusedAt_ < kIdleBackoff) return;
    const HostReply reply = release();
    idleRefusedAt_ = !reply.ok && !reply.gone ? now : Millis(-1);
    return;
  }
  release();
}

TransmitterGuard::Hold TransmitterGuard::TOCA(const std::string& path) {
  if (const Hold hold = holdNow(false); hold != Hold::None && hold != Hold::Previewing) return hold;
  stopPreview();
  release();
  if (const Hold halt = haltReason(); halt != Hold::None) return halt;
  if (HostGone(*s_.EchoLink)) return Hold::HostGone;
  if (!player_.load(path)) {
    // Nothing will play: the transmitter must not be keyed for silence.
    release();
    return Hold::None;
  }
  showKeyed();
  const HostReply keyed = setTransmit(true);
  armSafetyNet(player_.length());
  if (const Hold halt = haltReason(); halt != Hold::None || keyed.gone) {
    // The program ended inside the call, or the host went: nothing plays
    // with no one keying, and nothing is keyed after the end.
    player_.unload();
    if (keyed.gone) lostWhileKeying(keyed);
    else if (!ending()) release();
    return keyed.gone ? Hold::HostGone : halt;
  }
  if (!player_.run()) release();
  return Hold::None;
}

TransmitterGuard::Hold TransmitterGuard::send(const Message& m, const std::function<void()>& whileKeyed) {
  if (const Hold hold = holdNow(m.waitForPlayback); hold != Hold::None) return hold;
  const bool busy = hostBusy();
  if (const Hold hold = holdNow(m.waitForPlayback); hold != Hold::None) return hold;
  if (busy) return Hold::HostBusy;
  const std::string mode = CurrentModeName(c_);
  if (mode.empty()) return Hold::NoMode;
  // A device (NUL, COM1...) is never handed over nor played: nothing of it
  // is a message.
  if ((m.requireFile && s_.files && !s_.files->exists(m.path)) || NamesADevice(m.path)) {
    record(m, mode, kOutcomeMissingFile);
    if (whileKeyed) whileKeyed();
    return Hold::None;
  }
  return mode == "RF" ? playLocally(m, whileKeyed) : sendToHost(m, whileKeyed);
}

TransmitterGuard::Hold TransmitterGuard::sendDespiteStop(const Message& m) {
  // Only for the length of this send: a playback it starts is not kept
  // going by it, and nothing else passes meanwhile (a call under way holds
  // every other sender).
  answeringStop_ = true;
  const Hold hold = send(m);
  answeringStop_ = false;
  return hold;
}

TransmitterGuard::Hold TransmitterGuard::playLocally(const Message& m, const std::function<void()>& whileKeyed) {
  f_.arquivoAtual = m.name;
  const Hold hold = TOCA(m.path);
  // Lost on the way, or ended inside a call: it goes out (and is recorded)
  // through the next host, or not at all.
  if (hold != Hold::None) return hold;
  const bool exists = !s_.files || s_.files->exists(m.path);
  record(m, "RF",
         player_.playing() ? SentAfterWaitOutcome(m.waited) : exists ? kOutcomeUnplayable : kOutcomeMissingFile);
  if (whileKeyed) whileKeyed();
  return Hold::None;
}

TransmitterGuard::Hold TransmitterGuard::sendToHost(const Message& m, const std::function<void()>& whileKeyed) {
  // A copy for the host still being made holds the message back as a busy
  // host does: it is never handed over half converted.
  const HostCopy hostFile = HostCopyPath(s_.audio, m.path);
  if (hostFile.state == HostCopy::State::Pending) return Hold::CopyNotReady;
  const std::string copy = hostFile.path;
  showKeyed();
  const HostReply keyed = setTransmit(true);
  armSafetyNet(0);
  if (keyed.gone) {
    lostWhileKeying(keyed);
    return Hold::HostGone;
  }
  if (const Hold halt = haltReason(); halt != Hold::None) {
    if (!ending()) release();
    return halt;
  }
  const HostReply sent = ask([&](Host& h) { return h.transmitFile(copy, true); });
  if (sent.gone) {
    // Whether it went out cannot be known; it goes again through the next
    // host and is recorded then, once.
    lostHost();
    return Hold::HostGone;
  }
  // Ended inside the call: the way out has released the transmitter and
  // said goodbye; the host is not called again.
  if (!ending()) {
    if (whileKeyed) whileKeyed();
    unkey();
  }
  const bool exists = !s_.files || s_.files->exists(m.path);
  record(m, "RF+IP", !sent.ok ? HostFailedOutcome(sent.error) : exists ? SentAfterWaitOutcome(m.waited)
                                                                         : kOutcomeMissingFile);
  return Hold::None;
}

TransmitterGuard::Hold TransmitterGuard::sendIdentification(const std::string& origin, HostReply* reply) {
  const std::string mode = CurrentModeName(c_).empty() ? "RF" : CurrentModeName(c_);
  // The identification is the host's own recording: it has no file of ours.
  Message m{origin, "identificação", {}, 0, false, false};
  const Hold hold = holdNow(false);
  switch (hold) {
    case Hold::None: break;
    case Hold::Failing: record(m, mode, kOutcomeHeldFailing); return hold;
    case Hold::Ending: return hold;
    case Hold::Stopped: record(m, mode, kOutcomeHeldStopped); return hold;
    case Hold::HostGone: record(m, mode, kOutcomeHostGone); return hold;
    case Hold::HostCalling: record(m, mode, kOutcomeHeldCalling); return hold;
    case Hold::Previewing: record(m, mode, kOutcomeHeldPreview); return hold;
    default: return hold;
  }
  const HostReply r = ask([](Host& h) { return h.sendIdentification(false); });
  if (reply) *reply = r;
  record(m, mode, r.ok ? kOutcomeSent : r.gone ? kOutcomeHostGone : HostFailedOutcome(r.error));
  return Hold::None;
}

void TransmitterGuard::record(const Message& m, const std::string& mode, const std::string& outcome) {
  if (s_.record) s_.record->add(m.origin, m.name, mode, outcome);
}

bool TransmitterGuard::preview(const std::string& path, std::string& why) {
  why.clear();
  if (mayBeKeyed_ || player_.playing()) {
    why = "N\xC3\xA3o \xC3\xA9 poss\xC3\xADvel ouvir agora: uma mensagem est\xC3\xA1 no ar.";
    return false;
  }
  stopPreview();
  auto graph = s_.playback ? s_.playback->create() : nullptr;
  if (!graph || !graph->renderFile(path) || !graph->run()) return false;
  preview_ = std::move(graph);
  return true;
}

void TransmitterGuard::stopPreview() { preview_.reset(); }

bool TransmitterGuard::previewing() {
  if (!preview_) return false;
  // A hearing that reached its end is over, and holds nothing back.
  const auto length = preview_->duration();
  const auto at = preview_->currentPosition();
  if (length && at && *at >= *length) {
    preview_.reset();
    return false;
  }
  return true;
}

void TransmitterGuard::stop() {
  stopped_ = true;
  stopPreview();
  release();
}

void TransmitterGuard::resume() { stopped_ = false; }

void TransmitterGuard::fail() {
  f_.failing = true;
  stopPreview();
  release();
}

void TransmitterGuard::beginEnd() {
  ending_ = true;
  stopPreview();
  player_.unload();
  if (safetyNet_) safetyNet_->stop();
  if (probe_) probe_->stop();
}

HostReply TransmitterGuard::endRelease() {
  beginEnd();
  HostReply reply = setTransmit(false);
  if (reply.ok || (reply.gone && !hungKeyed_)) mayBeKeyed_ = false;
  return reply;
}

HostReply TransmitterGuard::endSignal() {
  beginEnd();
  return ask([](Host& h) { return h.exitSignal(false); });
}

void TransmitterGuard::start() {
  if (!s_.timers) return;
  lastCall_ = s_.clock->monotonic();
  if (!probe_) probe_ = s_.timers->create([this] { probeTick(); });
  probe_->start(kProbeInterval);
}

void TransmitterGuard::probeTick() {
  probe_->start(kProbeInterval);
  if (ending()) return probe_->stop();
  Host& host = *s_.EchoLink;
  // A host that died is noticed within two seconds in every state, not only
  // when something falls due; a flag read is enough to find out.
  if (HostGone(host) || host.calling()) return;
  const Millis now = s_.clock->monotonic();
  if (now - lastCall_ < kProbeInterval - 100ms) return;
  ask([](Host& h) { return h.firstBusyFlag(); });
}

void TransmitterGuard::armSafetyNet(std::optional<double> seconds) {
  if (!s_.timers) return;
  if (!safetyNet_) safetyNet_ = s_.timers->create([this] { safetyNetTick(); });
  const double len = seconds.value_or(0);
  const double s = std::isfinite(len) && len > 0 ? std::min(len, kLongestLength) : 0.0;
  safetyNet_->start(Millis(static_cast<long long>(std::floor((s + kSafetyMargin) * 1000))));
}

void TransmitterGuard::retryRelease() {
  if (!s_.timers || ending()) return;
  if (!safetyNet_) safetyNet_ = s_.timers->create([this] { safetyNetTick(); });
  safetyNet_->start(1000ms);
}

void TransmitterGuard::safetyNetTick() {
  safetyNet_->stop();
  if (ending()) return;
  release();  // a refusal, or a call still waiting, asks again in a second
}

}  // namespace orv
