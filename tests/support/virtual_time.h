#pragma once
// A virtual clock with timers driven by it: an hour of schedule runs in
// milliseconds, and every tick happens at an exact, known time.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/timers.h"

namespace orv::test {

class VirtualTime : public Clock, public TimerService {
 public:
  VirtualTime();
  ~VirtualTime() override;

  // Clock
  std::chrono::milliseconds monotonic() const override { return now_; }
  std::string timeOfDayText() const override;   // "HH:MM:SS" from wallStart + now
  std::string logTimestamp() const override;
  int wallMillis() const override { return static_cast<int>((wallStartMs_ + now_.count()) % 1000); }
  LocalTime localNow() const override;

  // TimerService
  std::unique_ptr<Timer> create(std::function<void()> onTick) override;

  // Runs every timer tick due up to now + d, in time order (ties in
  // creation order), moving the clock to each tick's time.
  void advance(std::chrono::milliseconds d);
  void advanceSeconds(double s) { advance(std::chrono::milliseconds(static_cast<long long>(s * 1000))); }
  // Moves the clock without running ticks (the UI thread was held up).
  void jump(std::chrono::milliseconds d) { now_ += d; }
  // The machine sleeps for `d`: the wall clock moves on, the monotonic clock
  // stands still and no timer ticks. On waking every running timer is
  // overdue, as window timers are after a resume, and ticks at the next
  // advance.
  void sleep(std::chrono::milliseconds d);
  // Wall-clock time of day at monotonic 0, in seconds after midnight.
  void setWallStart(int secondsAfterMidnight) { wallStart_ = secondsAfterMidnight; }
  // The wall clock's milliseconds at monotonic 0 (its seconds need not turn
  // with the monotonic clock's).
  void setWallStartMillis(int ms) { wallStartMs_ = ms; }
  // The local date at monotonic 0 (2026-01-01 unless told).
  void setWallDate(int year, int month, int day);
  // The wall clock is set by hand: local time moves by `d`, monotonic does not.
  void shiftWall(std::chrono::milliseconds d) { shift_ += d; }
  // A daylight-saving change: from monotonic `at` on, local time reads
  // `deltaSeconds` later (3600 spring forward, -3600 fall back).
  void addOffsetChange(std::chrono::milliseconds at, int deltaSeconds) { offsets_.push_back({at, deltaSeconds}); }
  // Local time as milliseconds since 1970-01-01 00:00 local.
  long long localMillis() const;

  int runningTimers() const;
  std::uint64_t ticksDelivered() const { return ticks_; }

  struct Entry;
 private:
  friend class VirtualTimer;
  std::chrono::milliseconds now_{0};
  int wallStart_ = 12 * 3600;
  int wallStartMs_ = 0;
  long long wallDays_ = 0;
  std::chrono::milliseconds shift_{0};
  std::vector<std::pair<std::chrono::milliseconds, int>> offsets_;
  std::uint64_t ticks_ = 0;
  std::vector<Entry*> entries_;
};

}  // namespace orv::test
