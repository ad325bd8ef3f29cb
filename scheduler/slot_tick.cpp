// The slot countdown: one tick per second of the slot's arming time, sending
// the slot's message when the countdown has reached 0 and the host is free.
#include <algorithm>

#include "scheduler/host_copy_path.h"
#include "scheduler/message_path.h"
#include "scheduler/message_send.h"
#include "scheduler/number_readings.h"
#include "scheduler/slot_scheduler.h"

namespace orv {

void SlotScheduler::startTimer(int slot, Millis delay) {
  Slot& s = slots_[slot];
  s.timer->start(delay);
  s.period = delay;
}

void SlotScheduler::showCount(int slot, bool always) {
  Slot& s = slots_[slot];
  if (!always && s.shown == s.count) return;
  c_.temp[slot]->setText(PlainDecimalText(static_cast<double>(s.count), *s_.locale));
  s.shown = s.count;
}

long long SlotScheduler::intervalAtFiring(int slot) {
  // Read at firing time, so an edited interval takes effect on the next turn.
  // A box that no longer holds a usable interval would make the slot send on
  // every tick (0) or never again (fractions, negatives): keep the last one.
  const double v = LeadingValue(c_.cont[slot]->text());
  if (v >= 1 && v <= static_cast<double>(kMaxIntervalSeconds) && v == static_cast<long long>(v))
    return static_cast<long long>(v);
  return slots_[slot].interval;
}

void SlotScheduler::reload(int slot) {
  Slot& s = slots_[slot];
  s.interval = intervalAtFiring(slot);
  s.count = s.interval;
  showCount(slot);
}

SlotScheduler::Due SlotScheduler::fire(int slot) {
  Slot& s = slots_[slot];
  const std::uint64_t generation = s.generation;
  Host& host = *s_.EchoLink;
  if (f_.failing) return Due::Waiting;
  const Millis now = s_.clock->monotonic();
  if (s.waitingSince.count() < 0) s.waitingSince = now;
  const std::string name = c_.mens[slot]->text();
  HostCopy hostFile;
  if (c_.Check21->value() == 1) {
    // A copy for the host still being made holds the message back as a busy host does.
    hostFile = HostCopyPath(s_.audio, MessagePath(f_.caminho, name));
    if (hostFile.state == HostCopy::State::Pending) return Due::Waiting;
  }
  // A host that is not there counts as a busy one: nobody would key the radio.
  if (HostGone(host) || HostBusy(host)) return Due::Waiting;
  const long long waited = (now - s.waitingSince).count() / 1000;
  auto record = [&](const std::string& mode, const std::string& outcome) {
    s.waitingSince = Millis(-1);
    if (s_.record) s_.record->add("slot " + std::to_string(slot + 1), name, mode, outcome);
  };
  auto exists = [&] { return s_.files && s_.files->exists(MessagePath(f_.caminho, name)); };

  Due result = Due::Waiting;
  if (c_.Check20->value() == 1) {
    f_.arquivoAtual = name;
    player_.TOCA();
    record("RF", player_.playing() ? SentAfterWaitOutcome(waited) : exists() ? kOutcomeUnplayable : kOutcomeMissingFile);
    if (s.generation != generation) return Due::Sent;
    if (HostGone(host)) return Due::Waiting;   // lost on the way: sent through the next host
    reload(slot);
    result = Due::Sent;
  }
  if (c_.Check21->value() == 1) {
    bool released = true;
    const HostReply reply = SendToHost(c_, host, hostFile.path, [&] {
      if (s.generation == generation && !HostGone(host)) reload(slot);
    }, &released);
    // Red until the host agrees; a host that is gone has nothing to unkey.
    if (!released && !HostGone(host)) player_.retryRelease();
    record("RF+IP", HostGone(host) ? kOutcomeHostGone
                    : !reply.ok ? HostFailedOutcome(reply.error)
                    : exists()  ? SentAfterWaitOutcome(waited)
                                : kOutcomeMissingFile);
    result = HostGone(host) ? Due::Waiting : Due::Sent;
  }
  return result;
}

bool SlotScheduler::sendNow(int slot) {
  Slot& s = slots_[slot];
  if (s.inTick || c_.mens[slot]->text().find_first_not_of(" \t") == std::string::npos) return false;
  s.inTick = true;
  const bool sent = fire(slot) == Due::Sent;
  s.inTick = false;
  return sent;
}

void SlotScheduler::onTimer(int slot) {
  Slot& s = slots_[slot];
  // A host call that pumps messages can bring this slot's timer back in, or
  // another's: no second host call starts while one waits; the seconds are
  // caught up on the next tick.
  if (s.inTick) return;
  if (s_.EchoLink->calling()) {
    if (s.period != kTick) startTimer(slot, kTick);
    return;
  }
  if (!s.armed || !ticked(slot)) {
    // Nothing is due until the box is ticked again, which arms anew.
    s.timer->stop();
    return;
  }
  const std::uint64_t generation = s.generation;
  const auto elapsed = s_.clock->monotonic() - s.armedAt;
  const long long due = std::max<long long>(0, elapsed.count() / kTick.count());

  s.inTick = true;
  bool tried = false;
  bool sent = false;
  long long missedTurn = -1;
  while (s.ticksDone < due) {
    ++s.ticksDone;
    if (s.count != 0) {
      --s.count;
      continue;
    }
    if (!tried) {
      tried = true;
      const Due outcome = fire(slot);
      sent = outcome == Due::Sent;
      if (s.generation != generation) break;
      if (outcome == Due::Waiting) {
        // Neither the host's flags nor the mode boxes change within one
        // callback: the rest of the seconds it catches up on are waits too.
        s.ticksDone = due;
        break;
      }
      continue;
    }
    // A turn that came round again while the thread was held up: one send
    // for the whole hold-up is enough, the schedule keeps its phase.
    if (missedTurn < 0) missedTurn = intervalAtFiring(slot);
    s.interval = missedTurn;
    s.count = missedTurn;
  }
  s.inTick = false;
  if (s.generation != generation) return;  // re-armed or unticked from inside: that path owns the timer now

  showCount(slot);
  // A renamed file or a changed source gets its copy here, a second ahead.
  if (!sent) keepHostCopyReady(slot);
  // Aim the timer at the next whole second after arming, so late callbacks
  // never add up.
  const auto next = s.armedAt + kTick * (s.ticksDone + 1);
  const auto now = s_.clock->monotonic();
  const Millis delay = std::clamp<Millis>(std::chrono::duration_cast<Millis>(next - now), Millis(1), kTick);
  startTimer(slot, delay);
}

}  // namespace orv
