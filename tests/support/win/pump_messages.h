#pragma once
// Windows-side tests: lets this thread's windows and timers run for a while.
#include <windows.h>

namespace orv::test {

inline void PumpMessagesFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  MSG m;
  while (GetTickCount64() < end) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    Sleep(10);
  }
}

}  // namespace orv::test
