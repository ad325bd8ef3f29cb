#include "platform/win/base_window.h"

namespace orv::win {

BaseWindow::~BaseWindow() {
  if (hwnd_) {
    // Detach first: messages sent during destruction must not reach a
    // half-destroyed object.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

void BaseWindow::Register(const wchar_t* className, HICON icon, UINT classStyle) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  HINSTANCE inst = GetModuleHandleW(nullptr);
  if (GetClassInfoExW(inst, className, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.style = classStyle;
  wc.lpfnWndProc = &BaseWindow::Proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = className;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  RegisterClassExW(&wc);
}

bool BaseWindow::CreateTopLevel(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                                int clientWidth, int clientHeight, HWND owner, HICON icon) {
  Register(className, icon, CS_HREDRAW | CS_VREDRAW);
  RECT r{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  CreateWindowExW(exStyle, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left,
                  r.bottom - r.top, owner, nullptr, GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

bool BaseWindow::CreateChild(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle, int x, int y, int w,
                             int h, int id, UINT classStyle) {
  Register(className, nullptr, classStyle);
  CreateWindowExW(exStyle, className, L"", style | WS_CHILD, x, y, w, h, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

LRESULT BaseWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

LRESULT CALLBACK BaseWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  BaseWindow* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    self = static_cast<BaseWindow*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    LRESULT r = self->HandleMessage(msg, wp, lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnWindowGone();
    return r;
  }
  return self->HandleMessage(msg, wp, lp);
}

void CenterOnScreen(HWND hwnd) {
  RECT wr;
  GetWindowRect(hwnd, &wr);
  MONITORINFO mi{sizeof mi};
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& a = mi.rcWork;
  int w = wr.right - wr.left, h = wr.bottom - wr.top;
  int x = a.left + ((a.right - a.left) - w) / 2;
  int y = a.top + ((a.bottom - a.top) - h) / 2;
  SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace orv::win
