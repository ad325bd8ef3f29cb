// The program's eight buttons, created from their stored settings as the
// windows create them, at rest and with the pointer over them; the window
// is read back from the screen and written as a 24-bit BMP.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "buttons/instances.h"
#include "buttons/win/dib.h"
#include "buttons/win/kw_button_control.h"
#include "platform/win/scoped.h"
#include "platform/win/text.h"

using namespace orv::buttons;
using namespace orv::buttons::win;

namespace {

constexpr int kMargin = 12;
constexpr int kGap = 12;
constexpr int kLabelH = 18;
constexpr int kRowLabelW = 70;

struct Row {
  const wchar_t* name;
  int top;
};

std::vector<std::pair<RECT, std::wstring>> g_labels;

LRESULT CALLBACK SheetProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    orv::win::PaintDc dc(h);
    ::SetBkMode(dc.get(), TRANSPARENT);
    HGDIOBJ old = ::SelectObject(dc.get(), ::GetStockObject(DEFAULT_GUI_FONT));
    for (auto& [rc, text] : g_labels) {
      RECT r = rc;
      ::DrawTextW(dc.get(), text.c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::SelectObject(dc.get(), old);
    return 0;
  }
  return ::DefWindowProcW(h, m, w, l);
}

void Pump(int ms) {
  const DWORD end = ::GetTickCount() + ms;
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(5);
  } while (static_cast<int>(end - ::GetTickCount()) > 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* out = argc > 1 ? argv[1] : L"button-instances.bmp";
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = SheetProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"KwInstanceSheet";
  if (!::RegisterClassExW(&wc)) return 2;

  int width = kMargin + kRowLabelW;
  int tallest = 0;
  for (const ButtonInstance& inst : ButtonInstances()) {
    width += inst.width + kGap;
    tallest = std::max(tallest, inst.height);
  }
  width += kMargin;
  const Row rows[] = {{L"normal", kMargin + kLabelH}, {L"hovered", kMargin + 2 * kLabelH + tallest + kGap}};
  const int height = rows[1].top + tallest + kMargin;

  RECT frame{0, 0, width, height};
  ::AdjustWindowRect(&frame, WS_POPUP, FALSE);
  HWND sheet = ::CreateWindowExW(0, wc.lpszClassName, L"kwButtons_H", WS_POPUP | WS_VISIBLE, 0, 0,
                                 frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                 wc.hInstance, nullptr);
  if (!sheet) return 2;

  std::vector<KwButtonControl*> hovered;
  int id = 100;
  for (const Row& row : rows) {
    g_labels.push_back({{kMargin, row.top, kMargin + kRowLabelW, row.top + kLabelH}, row.name});
    int x = kMargin + kRowLabelW;
    for (const ButtonInstance& inst : ButtonInstances()) {
      if (row.top == rows[0].top) {
        std::wstring label = orv::win::Widen(std::string(inst.window) + "." + std::string(inst.name).substr(10));
        g_labels.push_back({{x, kMargin, x + inst.width + kGap, kMargin + kLabelH}, label});
      }
      KwButtonControl* c = CreateKwButton(sheet, id++, x, row.top, inst.width, inst.height, std::string(inst.settings),
                                          nullptr);
      if (!c) return 3;
      if (row.top != rows[0].top) hovered.push_back(c);
      x += inst.width + kGap;
    }
  }
  ::UpdateWindow(sheet);
  Pump(300);

  // The pointer "arrives" on each button of the second row; the hover timer
  // is stopped at once so that the look stays while the sheet is read back.
  for (KwButtonControl* c : hovered) {
    ::SendMessageW(c->window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ::KillTimer(c->window(), HoverTimerId);
  }
  Pump(200);

  RECT client;
  ::GetClientRect(sheet, &client);
  POINT origin{0, 0};
  ::ClientToScreen(sheet, &origin);
  bool ok;
  {
    orv::win::WindowDc screen(nullptr);
    orv::win::UniqueMemDc mem(::CreateCompatibleDC(screen.get()));
    orv::win::UniqueBitmap shot(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    {
      orv::win::ScopedSelect select(mem.get(), shot.get());
      ::BitBlt(mem.get(), 0, 0, client.right, client.bottom, screen.get(), origin.x, origin.y, SRCCOPY);
    }
    ok = WriteBmp(out, mem.get(), shot.get(), client.right, client.bottom);
  }
  ::DestroyWindow(sheet);
  return ok ? 0 : 1;
}
