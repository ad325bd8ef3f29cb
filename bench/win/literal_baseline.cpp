// The window's timers built the literal way, as a yardstick for the idle
// cost of orvalen.exe: a 10 ms clock tick that writes the time on every
// tick, a 1 s progress tick that rewrites its boxes, one 1 s timer per armed
// slot that rewrites its countdown, and two animations drawn afresh on every
// frame. Usage: literal_baseline.exe [ARMED_SLOTS | floor]; "floor" shows the
// same window with no timer at all, what Wine itself costs. Runs until closed.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr UINT_PTR kClockTimer = 1, kProgressTimer = 2, kAnimationTimer = 3, kSlotTimerBase = 10;  // +1: the second animation
constexpr int kSlots = 9;
HWND gClock, gProgress[3], gCount[kSlots], gAnimation[2];
int gArmed = 0, gFrame = 0, gCountdown[kSlots];

void DrawAnimation(HWND w, int style) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  RECT rc;
  GetClientRect(w, &rc);
  HBRUSH bg = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(dc, &rc, bg);
  DeleteObject(bg);
  const int cx = rc.right / 2, top = rc.bottom / 3;
  for (int k = 0; k < 3; ++k) {
    const int rad = 6 + ((gFrame + k * 3) % 8) * rc.right / 16;
    HPEN pen = CreatePen(PS_SOLID, 1, style ? RGB(255, 96, 96) : RGB(96, 96, 255));
    HGDIOBJ old = SelectObject(dc, pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Arc(dc, cx - rad, top - rad, cx + rad, top + rad, cx + rad, top + rad / 2, cx + rad, top - rad / 2);
    Arc(dc, cx - rad, top - rad, cx + rad, top + rad, cx - rad, top - rad / 2, cx - rad, top + rad / 2);
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  EndPaint(w, &ps);
}

LRESULT CALLBACK AnimationProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    DrawAnimation(w, w == gAnimation[1]);
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER: {
      wchar_t text[32];
      if (wp == kClockTimer) {
        GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 32);
        SetWindowTextW(gClock, text);
      } else if (wp == kProgressTimer) {
        for (HWND box : gProgress) SetWindowTextW(box, L"00:00:00");
      } else if (wp == kAnimationTimer || wp == kAnimationTimer + 1) {
        gFrame = (gFrame + 1) % 8;
        InvalidateRect(gAnimation[wp - kAnimationTimer], nullptr, FALSE);
      } else if (wp >= kSlotTimerBase && wp < kSlotTimerBase + kSlots) {
        const int i = static_cast<int>(wp - kSlotTimerBase);
        gCountdown[i] = gCountdown[i] > 0 ? gCountdown[i] - 1 : 3600;
        std::swprintf(text, 32, L"%d", gCountdown[i]);
        SetWindowTextW(gCount[i], text);
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR args, int) {
  const bool floor = args && std::wcscmp(args, L"floor") == 0;
  gArmed = args && *args && !floor ? _wtoi(args) : 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = L"LiteralBaseline";
  RegisterClassW(&wc);
  wc.lpfnWndProc = AnimationProc;
  wc.lpszClassName = L"LiteralAnimation";
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, L"LiteralBaseline", L"Literal baseline", WS_OVERLAPPEDWINDOW, 40, 40, 640, 480,
                              nullptr, nullptr, instance, nullptr);
  auto child = [&](const wchar_t* cls, int x, int y, int w, int h) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE, x, y, w, h, main, nullptr, instance, nullptr);
  };
  gClock = child(L"STATIC", 500, 10, 100, 20);
  for (int i = 0; i < 3; ++i) gProgress[i] = child(L"STATIC", 20 + 110 * i, 400, 100, 20);
  for (int i = 0; i < kSlots; ++i) {
    gCount[i] = child(L"STATIC", 400, 60 + 30 * i, 80, 20);
    gCountdown[i] = 3600;
  }
  gAnimation[0] = child(L"LiteralAnimation", 20, 10, 64, 64);
  gAnimation[1] = child(L"LiteralAnimation", 100, 10, 64, 64);
  ShowWindow(main, SW_SHOWNORMAL);
  if (!floor) {
    SetTimer(main, kClockTimer, 10, nullptr);
    SetTimer(main, kProgressTimer, 1000, nullptr);
    SetTimer(main, kAnimationTimer, 400, nullptr);
    SetTimer(main, kAnimationTimer + 1, 400, nullptr);
    for (int i = 0; i < gArmed && i < kSlots; ++i) SetTimer(main, kSlotTimerBase + i, 1000, nullptr);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
