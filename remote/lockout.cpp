#include "remote/lockout.h"

namespace orv {

bool Lockout::wrongCode(Time now) {
  if (locked(now)) return false;
  while (!wrong_.empty() && now - wrong_.front() >= kWrongCodeWindow) wrong_.pop_front();
  wrong_.push_back(now);
  if (static_cast<int>(wrong_.size()) < kWrongCodesToLock) return false;
  wrong_.clear();
  lockedUntil_ = now + std::chrono::duration_cast<Time>(kLockoutLength);
  return true;
}

}  // namespace orv
