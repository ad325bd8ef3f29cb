#pragma once
// Window timers for the core.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/timers.h"

namespace orv::win {

// Window timers on a message-only window of their own; callbacks run from
// the message loop of the thread that made the service.
class WinTimerService : public TimerService {
 public:
  WinTimerService();
  ~WinTimerService() override;
  std::unique_ptr<Timer> create(std::function<void()> onTick) override;
  // Ticks are dropped while this says no (the program is ending).
  void setGate(std::function<bool()> open) { gate_ = std::move(open); }

 private:
  friend class WinTimer;
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::map<UINT_PTR, std::function<void()>> callbacks_;
  std::function<bool()> gate_;
};

}  // namespace orv::win
