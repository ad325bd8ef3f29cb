#pragma once
// Guessing the access code: after 3 wrong codes within 10 minutes every
// command is ignored for 15 minutes. Kept in memory only.
#include <chrono>
#include <deque>
#include <optional>

namespace orv {

inline constexpr int kWrongCodesToLock = 3;
inline constexpr std::chrono::minutes kWrongCodeWindow{10};
inline constexpr std::chrono::minutes kLockoutLength{15};

class Lockout {
 public:
  using Time = std::chrono::milliseconds;   // the monotonic clock
  bool locked(Time now) const { return lockedUntil_ && now < *lockedUntil_; }
  // Counts a wrong code; true when it is the one that locks.
  bool wrongCode(Time now);

 private:
  std::deque<Time> wrong_;
  std::optional<Time> lockedUntil_;
};

}  // namespace orv
