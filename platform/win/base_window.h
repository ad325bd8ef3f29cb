#pragma once
// One window class per C++ class: `this` is bound at WM_NCCREATE and every
// later message goes to the virtual HandleMessage.
#include <windows.h>

namespace orv::win {

class BaseWindow {
 public:
  BaseWindow() = default;
  virtual ~BaseWindow();
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers `className` once per process and creates the window.
  bool CreateTopLevel(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                      int clientWidth, int clientHeight, HWND owner, HICON icon);
  bool CreateChild(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                   int id, UINT classStyle = CS_DBLCLKS);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Called once WM_NCDESTROY has been seen: the HWND is gone.
  virtual void OnWindowGone() {}

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static void Register(const wchar_t* className, HICON icon, UINT classStyle);
  HWND hwnd_ = nullptr;
};

// Centres a top-level window on the work area of its monitor.
void CenterOnScreen(HWND hwnd);

}  // namespace orv::win
