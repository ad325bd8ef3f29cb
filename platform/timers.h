#pragma once
// Window timers. Ticks are delivered on the user-interface thread, one at a
// time, from the message loop (or from the virtual clock in tests).
#include <chrono>
#include <functional>
#include <memory>

namespace orv {

using Millis = std::chrono::milliseconds;

class Timer {
 public:
  virtual ~Timer() = default;
  // (Re)starts the timer: the first tick comes `interval` from now, then
  // every `interval` until stop().
  virtual void start(Millis interval) = 0;
  virtual void stop() = 0;
  virtual bool running() const = 0;
};

class TimerService {
 public:
  virtual ~TimerService() = default;
  virtual std::unique_ptr<Timer> create(std::function<void()> onTick) = 0;
};

}  // namespace orv
