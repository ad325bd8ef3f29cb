#pragma once
// A virtual clock with timers driven by it: an hour of schedule runs in
// milliseconds, and every tick happens at an exact, known time.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
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

  // TimerService
  std::unique_ptr<Timer> create(std::function<void()> onTick) override;

  // Runs every timer tick due up to now + d, in time order (ties in
  // creation order), moving the clock to each tick's time.
  void advance(std::chrono::milliseconds d);
  void advanceSeconds(double s) { advance(std::chrono::milliseconds(static_cast<long long>(s * 1000))); }
  // Moves the clock without running ticks (the UI thread was held up).
  void jump(std::chrono::milliseconds d) { now_ += d; }
  // Wall-clock time of day at monotonic 0, in seconds after midnight.
  void setWallStart(int secondsAfterMidnight) { wallStart_ = secondsAfterMidnight; }
  // The wall clock's milliseconds at monotonic 0 (its seconds need not turn
  // with the monotonic clock's).
  void setWallStartMillis(int ms) { wallStartMs_ = ms; }

  int runningTimers() const;
  std::uint64_t ticksDelivered() const { return ticks_; }

  struct Entry;
 private:
  friend class VirtualTimer;
  std::chrono::milliseconds now_{0};
  int wallStart_ = 12 * 3600;
  int wallStartMs_ = 0;
  std::uint64_t ticks_ = 0;
  std::vector<Entry*> entries_;
};

}  // namespace orv::test
