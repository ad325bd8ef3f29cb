#pragma once
// Window timers for the core: every timer of the thread rides on one window
// timer of a message-only window (see platform/coalescing_timers.h).
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/coalescing_timers.h"

namespace orv::win {

// Callbacks run from the message loop of the thread that made the service,
// and from any modal loop on it (message boxes, menus, dialogs).
class WinTimerService : public TimerService, private RepeatingAlarm {
 public:
  WinTimerService();
  ~WinTimerService() override;
  WinTimerService(const WinTimerService&) = delete;
  WinTimerService& operator=(const WinTimerService&) = delete;
  std::unique_ptr<Timer> create(std::function<void()> onTick) override { return timers_.create(std::move(onTick)); }
  // Ticks are dropped while this says no (the program is ending).
  void setGate(std::function<bool()> open) { timers_.setGate(std::move(open)); }

 private:
  Micros now() const override;
  Micros start(Micros delay) override;
  void stop() override;
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

  HWND hwnd_ = nullptr;
  LARGE_INTEGER frequency_{};
  CoalescingTimers timers_{*this};
};

}  // namespace orv::win
