#include "platform/win/win_timers.h"

namespace orv::win {

class WinTimer : public Timer {
 public:
  WinTimer(WinTimerService& s, UINT_PTR id) : s_(s), id_(id) {}
  ~WinTimer() override {
    stop();
    s_.callbacks_.erase(id_);
  }
  void start(Millis interval) override {
    UINT ms = static_cast<UINT>(interval.count() < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : interval.count());
    running_ = SetTimer(s_.hwnd_, id_, ms, nullptr) != 0;
  }
  void stop() override {
    if (running_) KillTimer(s_.hwnd_, id_);
    running_ = false;
  }
  bool running() const override { return running_; }

 private:
  WinTimerService& s_;
  UINT_PTR id_;
  bool running_ = false;
};

WinTimerService::WinTimerService() {
  static const wchar_t* kClass = L"OrvalenTimers";
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = &WinTimerService::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassExW(&wc);  // fails harmlessly when already registered
  hwnd_ = CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinTimerService::~WinTimerService() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

std::unique_ptr<Timer> WinTimerService::create(std::function<void()> onTick) {
  UINT_PTR id = nextId_++;
  callbacks_[id] = std::move(onTick);
  return std::make_unique<WinTimer>(*this, id);
}

LRESULT CALLBACK WinTimerService::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    auto* self = reinterpret_cast<WinTimerService*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return 0;
    if (self->gate_ && !self->gate_()) return 0;
    auto it = self->callbacks_.find(wp);
    if (it == self->callbacks_.end()) return 0;
    auto tick = it->second;  // the tick may destroy its own timer
    tick();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace orv::win
