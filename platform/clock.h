#pragma once
#include <chrono>
#include <string>

namespace orv {

// The wall clock as the operator's calendar shows it, in the local time zone
// with daylight saving applied. It may jump either way (clock set by hand, a
// time server, a daylight-saving change); only monotonic() never does.
struct LocalTime {
  int year = 1970, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  int weekday = 4;   // 0 = Sunday ... 6 = Saturday
};

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
  // Local date and time now.
  virtual LocalTime localNow() const = 0;
};

}  // namespace orv
