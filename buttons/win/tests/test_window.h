#pragma once
// A visible top-level form for tests that drive kwButtons_H windows through
// the real window system: its message loop, absolute pointer moves, and the
// buttons placed on it.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "buttons/win/kw_button_control.h"

namespace orv::buttons::win {

inline LRESULT CALLBACK TestFormProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcW(h, m, w, l); }

class TestWindow : public ::testing::Test {
 protected:
  struct Loop {
    int settleMs;     // given to every pointer move
    DWORD idleMs;     // the loop's nap between sweeps
    bool dialogKeys;  // Tab, Enter and Escape through the form, as the program's loop does
  };
  explicit TestWindow(Loop loop) : loop_(loop) {}

  void openForm(const wchar_t* title, int settleMs) {
    static const bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = TestFormProc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      wc.lpszClassName = L"KwTestForm";
      return ::RegisterClassExW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    form_ = ::CreateWindowExW(0, L"KwTestForm", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 460, 300, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(form_, nullptr);
    ::SetForegroundWindow(form_);
    pump(settleMs);
  }

  // The tests' event logs are gone once the fixture is torn down.
  void closeForm() {
    for (HWND w : made_)
      if (KwButtonControl* c = KwButtonFromWindow(w)) c->setEventSink(nullptr);
    if (::IsWindow(form_)) ::DestroyWindow(form_);
    moveTo({5, 5});
  }

  KwButtonControl* place(int id, int x, int y, int w, int h, const std::string& settings, KwButtonEvents* ev,
                         std::function<void()> onClick = {}) {
    KwButtonControl* c = CreateKwButton(form_, id, x, y, w, h, settings, std::move(onClick), ev);
    EXPECT_NE(c, nullptr);
    if (c) made_.push_back(c->window());
    return c;
  }

  // The program's message loop, for a while.
  void pump(int ms) {
    const DWORD end = ::GetTickCount() + ms;
    do {
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (KwButtonPreTranslate(msg)) continue;
        if (loop_.dialogKeys && ::IsWindow(form_) && ::IsDialogMessageW(form_, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      ::Sleep(loop_.idleMs);
    } while (static_cast<int>(end - ::GetTickCount()) > 0);
  }

  void moveTo(POINT p) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &in, sizeof in);
    pump(loop_.settleMs);
  }

  HWND form_ = nullptr;
  std::vector<HWND> made_;

 private:
  Loop loop_;
};

}  // namespace orv::buttons::win
