// The slot countdown: one tick per second of the slot's arming time, sending
// the slot's message when the countdown has reached 0 and the host is free.
#include <algorithm>

#include "scheduler/message_path.h"
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

SlotScheduler::Due SlotScheduler::fire(int slot, TransmitterGuard::Hold* why) {
  Slot& s = slots_[slot];
  const std::uint64_t generation = s.generation;
  const Millis now = s_.clock->monotonic();
  if (s.waitingSince.count() < 0) s.waitingSince = now;
  const std::string name = c_.mens[slot]->text();
  TransmitterGuard::Message m;
  m.origin = "slot " + std::to_string(slot + 1);
  m.name = name;
  m.path = MessagePath(f_.caminho, name);
  m.waited = (now - s.waitingSince).count() / 1000;
  // The reload comes from the slot's own interval box, read now; a slot
  // re-armed or unticked inside the send keeps what that path gave it.
  const auto hold = guard_.send(m, [&] {
    if (s.generation == generation) reload(slot);
  });
  if (why) *why = hold;
  if (hold != TransmitterGuard::Hold::None) return Due::Waiting;
  s.waitingSince = Millis(-1);
  return Due::Sent;
}

bool SlotScheduler::sendNow(int slot, TransmitterGuard::Hold* why) {
  Slot& s = slots_[slot];
  if (why) *why = TransmitterGuard::Hold::None;
  if (s.inTick || c_.mens[slot]->text().find_first_not_of(" \t") == std::string::npos) return false;
  s.inTick = true;
  // A refused attempt is not a wait of the slot's own: its next send counts
  // from when it really fell due.
  const Millis waitingSince = s.waitingSince;
  const bool sent = fire(slot, why) == Due::Sent;
  if (!sent) s.waitingSince = waitingSince;
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
  // Stopped from the radio, the countdowns hold where they are: after the
  // resume each goes on from there, not all at once from 0.
  if (guard_.stopped()) s.ticksDone = due;
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
