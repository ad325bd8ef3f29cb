#include "platform/win/button_factory.h"

#include "platform/win/text.h"

namespace orv::win {

HWND CreatePlainButton(const ButtonPlacement& p, HFONT font) {
  // Long captions wrap, as on the program's own buttons.
  HWND b = CreateWindowExW(0, L"BUTTON", Widen(p.caption).c_str(),
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE,
                           p.rect.left, p.rect.top, p.rect.right - p.rect.left, p.rect.bottom - p.rect.top, p.parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)), GetModuleHandleW(nullptr), nullptr);
  if (font) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return b;
}

void ClickRouter::Add(int id, std::function<void()> onClick) { entries_.push_back({id, std::move(onClick)}); }

bool ClickRouter::Route(WPARAM wp) {
  if (HIWORD(wp) != BN_CLICKED) return false;
  for (const Entry& e : entries_) {
    if (e.id == static_cast<int>(LOWORD(wp))) {
      auto click = e.onClick;  // the click may close the window that owns us
      click();
      return true;
    }
  }
  return false;
}

}  // namespace orv::win
