#include "platform/win/dpi_layout.h"

#include <utility>

namespace orv::win {

HFONT DpiLayout::Font(const FontSpec& spec) {
  for (const FontEntry& f : fonts_)
    if (f.face == spec.face && f.points == spec.points && f.bold == spec.bold) return f.font.get();
  fonts_.push_back({spec.face, spec.points, spec.bold, UniqueFont(CreateScaledFont(spec, dpi_))});
  return fonts_.back().font.get();
}

HWND DpiLayout::Place(HWND child, int x, int y, int w, int h, HFONT font) {
  if (!child) return child;
  int index = -1;
  for (size_t i = 0; i < fonts_.size(); ++i)
    if (font && fonts_[i].font.get() == font) index = static_cast<int>(i);
  for (Item& it : items_) {
    if (it.hwnd == child) {
      it = Item{child, x, y, w, h, index};
      Apply(it, true);
      return child;
    }
  }
  items_.push_back(Item{child, x, y, w, h, index});
  Apply(items_.back(), false);
  return child;
}

HWND DpiLayout::Create(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id,
                         int x, int y, int w, int h, HFONT font) {
  HWND child = CreateWindowExW(exStyle, cls, text, style, px(x), px(y), px(x + w) - px(x), px(y + h) - px(y), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!child) return child;
  int index = -1;
  for (size_t i = 0; i < fonts_.size(); ++i)
    if (font && fonts_[i].font.get() == font) index = static_cast<int>(i);
  items_.push_back(Item{child, x, y, w, h, index});
  if (index >= 0) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void DpiLayout::Apply(const Item& it, bool redraw) const {
  SetWindowPos(it.hwnd, nullptr, px(it.x), px(it.y), px(it.x + it.w) - px(it.x), px(it.y + it.h) - px(it.y),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (it.font >= 0)
    SendMessageW(it.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[static_cast<size_t>(it.font)].font.get()),
                 redraw);
}

void DpiLayout::Rescale(Dpi dpi) {
  if (dpi.value() == dpi_.value()) return;
  dpi_ = dpi;
  std::vector<UniqueFont> old;
  for (FontEntry& f : fonts_) {
    old.push_back(std::move(f.font));
    f.font.reset(CreateScaledFont(FontSpec{f.face.c_str(), f.points, f.bold}, dpi_));
  }
  for (const Item& it : items_)
    if (IsWindow(it.hwnd)) Apply(it, true);
}

void SetClientSize(HWND top, int w, int h) {
  RECT wr, cr;
  GetClientRect(top, &cr);
  if (cr.right == w && cr.bottom == h) return;
  GetWindowRect(top, &wr);
  const int frameW = (wr.right - wr.left) - cr.right, frameH = (wr.bottom - wr.top) - cr.bottom;
  SetWindowPos(top, nullptr, 0, 0, w + frameW, h + frameH, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // A frame can change with the size (a menu bar wrapping); measure once more.
  GetClientRect(top, &cr);
  if (cr.right != w || cr.bottom != h) {
    GetWindowRect(top, &wr);
    SetWindowPos(top, nullptr, 0, 0, (wr.right - wr.left) + w - cr.right, (wr.bottom - wr.top) + h - cr.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void ApplyDpiChange(HWND top, DpiLayout& layout, WPARAM wp, LPARAM lp, int designWidth, int designHeight) {
  const int dpi = HIWORD(wp);
  layout.Rescale(Dpi(dpi));
  if (const auto* suggested = reinterpret_cast<const RECT*>(lp)) {
    SetWindowPos(top, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetClientSize(top, layout.px(designWidth), layout.px(designHeight));
  InvalidateRect(top, nullptr, TRUE);
}

}  // namespace orv::win
