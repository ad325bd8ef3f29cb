#pragma once
// Geometry and font sizes are designed at 96 dpi and scaled to the window's
// real dpi, so the program is crisp on high-dpi screens instead of stretched.
#include <windows.h>

namespace orv::win {

class Dpi {
 public:
  explicit Dpi(int dpi = 96) : dpi_(dpi > 0 ? dpi : 96) {}
  static Dpi ForWindow(HWND hwnd);
  static Dpi ForSystem();
  int value() const { return dpi_; }
  int px(int designPixels) const { return MulDiv(designPixels, dpi_, 96); }
  // Logical font height for a point size (negative: character height).
  int fontHeight(double points) const { return -static_cast<int>(points * dpi_ / 72.0 + 0.5); }
  // GetSystemMetrics as it is at this dpi (icon sizes, frames).
  int metric(int index) const;

 private:
  int dpi_;
};

// A font as the windows are designed: face, size in points, weight.
struct FontSpec {
  const wchar_t* face;
  double points;
  bool bold;
};

// The font at this dpi. "MS Sans Serif" is a bitmap face that comes in a few
// fixed sizes only, so its TrueType twin stands in; the family hint picks a
// look-alike where a face is missing (Wine).
HFONT CreateScaledFont(const FontSpec& spec, const Dpi& dpi);

}  // namespace orv::win
