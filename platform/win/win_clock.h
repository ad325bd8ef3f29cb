#pragma once
// The core's clock over the system's counters and local time.
#include <windows.h>

#include <chrono>
#include <string>

#include "platform/clock.h"

namespace orv::win {

// The wall clock (UTC) in milliseconds since 1601, as the system keeps it.
unsigned long long WallClockMillis();

class WinClock : public Clock {
 public:
  std::chrono::milliseconds monotonic() const override;
  std::string timeOfDayText() const override;
  int wallMillis() const override;
  std::string logTimestamp() const override;
  LocalTime localNow() const override;

 private:
  // The clock label asks a hundred times a second; the text only changes
  // once a second, so it is formatted once a second.
  mutable unsigned long long cachedSecond_ = 0;
  mutable std::string cachedText_;
};

}  // namespace orv::win
