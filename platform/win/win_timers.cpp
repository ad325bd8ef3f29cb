#include "platform/win/win_timers.h"

namespace orv::win {

namespace {
constexpr UINT_PTR kAlarm = 1;
}  // namespace

WinTimerService::WinTimerService() {
  QueryPerformanceFrequency(&frequency_);
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

Micros WinTimerService::now() const {
  // The performance counter: precise where the tick count moves in steps of
  // 15.6 ms, and the alarm's own time base.
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  const long long f = frequency_.QuadPart > 0 ? frequency_.QuadPart : 1;
  return Micros(c.QuadPart / f * 1000000 + c.QuadPart % f * 1000000 / f);
}

Micros WinTimerService::start(Micros delay) {
  // Whole milliseconds, rounded up so the alarm never goes off before the
  // tick it is for; the system takes no less than USER_TIMER_MINIMUM.
  long long ms = (delay.count() + 999) / 1000;
  if (ms < USER_TIMER_MINIMUM) ms = USER_TIMER_MINIMUM;
  if (ms > USER_TIMER_MAXIMUM) ms = USER_TIMER_MAXIMUM;
  if (!SetTimer(hwnd_, kAlarm, static_cast<UINT>(ms), nullptr)) return Micros(0);
  return Micros(ms * 1000);
}

void WinTimerService::stop() { KillTimer(hwnd_, kAlarm); }

LRESULT CALLBACK WinTimerService::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kAlarm) {
    auto* self = reinterpret_cast<WinTimerService*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) self->timers_.onAlarm();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace orv::win
