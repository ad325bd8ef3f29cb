#pragma once
#include <chrono>
#include <string>

namespace orv {

class Clock {
 public:
  virtual ~Clock() = default;
  // Monotonic time since an arbitrary origin; never jumps with the wall clock.
  virtual std::chrono::milliseconds monotonic() const = 0;
  // The current time of day in the system's time format ("14:05:09").
  virtual std::string timeOfDayText() const = 0;
  // Milliseconds past the wall clock's current second (0..999), to aim a
  // timer at the moment the time of day turns.
  virtual int wallMillis() const = 0;
  // Local date and time with milliseconds, for logs ("2026-12-08 14:05:09.123").
  virtual std::string logTimestamp() const = 0;
};

}  // namespace orv
