#pragma once
// A window's children remembered in their 96-dpi design rectangles, so that
// a change of dpi (the window moved to another monitor, WM_DPICHANGED) can
// place them and remake their fonts again from the design, without rounding
// errors piling up.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win/dpi.h"
#include "platform/win/scoped.h"

namespace orv::win {

class DpiLayout {
 public:
  explicit DpiLayout(Dpi dpi = Dpi()) : dpi_(dpi) {}
  const Dpi& dpi() const { return dpi_; }
  int px(int design) const { return dpi_.px(design); }

  // The font of that design at the current dpi, made once and owned here.
  HFONT Font(const FontSpec& spec);
  // Moves `child` to the design rectangle (its parent's client coordinates)
  // and gives it `font` (from Font(); null leaves the child's font alone).
  HWND Place(HWND child, int x, int y, int w, int h, HFONT font = nullptr);
  // Creates a child already at its place, which saves a move per control
  // at start-up, and keeps it placed as Place does.
  HWND Create(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int id, int x, int y,
              int w, int h, HFONT font = nullptr);
  // Places every child again for `dpi` and swaps its font for one of the
  // new size; the old fonts go only after no child uses them.
  void Rescale(Dpi dpi);

 private:
  struct FontEntry {
    std::wstring face;
    double points;
    bool bold;
    UniqueFont font;
  };
  struct Item {
    HWND hwnd;
    int x, y, w, h;
    int font;  // index into fonts_, -1 for none
  };
  void Apply(const Item& item, bool redraw) const;

  Dpi dpi_;
  std::vector<FontEntry> fonts_;
  std::vector<Item> items_;
};

// Sizes a top-level window so that its client area is exactly w x h, as its
// frame measures now (AdjustWindowRectEx knows the system dpi only).
void SetClientSize(HWND top, int w, int h);

// WM_DPICHANGED: the window goes to the suggested place, its client area
// becomes the design size at the new dpi and its children follow.
void ApplyDpiChange(HWND top, DpiLayout& layout, WPARAM wp, LPARAM lp, int designWidth, int designHeight);

}  // namespace orv::win
