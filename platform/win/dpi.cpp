#include "platform/win/dpi.h"

namespace orv::win {

namespace {
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
GetDpiForWindowFn DpiForWindowFn() {
  // Not present before Windows 10 1607: look it up instead of linking it.
  static auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return fn;
}
}  // namespace

Dpi Dpi::ForWindow(HWND hwnd) {
  if (auto fn = DpiForWindowFn(); fn && hwnd) {
    UINT d = fn(hwnd);
    if (d) return Dpi(static_cast<int>(d));
  }
  return ForSystem();
}

Dpi Dpi::ForSystem() {
  HDC dc = GetDC(nullptr);
  int d = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return Dpi(d);
}

}  // namespace orv::win
