#pragma once
// Every timer of the thread on one repeating alarm. Under Wine each wake-up
// of the thread costs far more than the work a tick does, so ticks that fall
// due within a few milliseconds of each other (the clock and the progress
// tick at the turn of the second, slots armed together, an animation frame
// on the same turn) run on one wake-up, and a regular rhythm of wake-ups
// leaves the alarm alone instead of setting it again each time.
//
// No tick runs before its time: the clock's and the slots' ticks read the
// time themselves and would only aim again. A tick may run up to
// `together` late, to share a wake-up with one due just after it. The
// window is narrow: a slot keeps the phase of its arming while the clock
// and the frames follow the wall clock, which drifts against it, and each
// time the phases meet the slot would be held back by the whole window.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/timers.h"

namespace orv {

using Micros = std::chrono::microseconds;

// The one alarm the timers ride on: a window timer on Windows, the virtual
// clock in tests.
class RepeatingAlarm {
 public:
  virtual ~RepeatingAlarm() = default;
  virtual Micros now() const = 0;
  // Goes off `delay` from now and then every period until started again or
  // stopped; returns the period it really keeps (window timers round it).
  virtual Micros start(Micros delay) = 0;
  virtual void stop() = 0;
};

class CoalescingTimers : public TimerService {
 public:
  static constexpr Micros kTogether{4000};

  explicit CoalescingTimers(RepeatingAlarm& alarm, Micros together = kTogether);
  ~CoalescingTimers() override;
  CoalescingTimers(const CoalescingTimers&) = delete;
  CoalescingTimers& operator=(const CoalescingTimers&) = delete;

  std::unique_ptr<Timer> create(std::function<void()> onTick) override;
  // Ticks are dropped while this says no (the program is ending).
  void setGate(std::function<bool()> open) { gate_ = std::move(open); }

  // The alarm went off: every tick due by now runs, earliest first. May be
  // called again from inside a tick (a message box's loop).
  void onAlarm();

 private:
  struct Entry;
  class Handle;
  void aim();

  RepeatingAlarm& alarm_;
  const Micros together_;
  std::vector<std::shared_ptr<Entry>> entries_;   // creation order
  std::function<bool()> gate_;
  int waking_ = 0;  // ticks of a wake-up under way (more inside a message box's loop)
  bool alarmOn_ = false;
  Micros alarmNext_{0};
  Micros alarmPeriod_{0};
};

}  // namespace orv
