#pragma once
// The clock label: one line at the largest size up to the design's that
// the time fits in, whatever the time format makes of it.
#include <windows.h>

#include <functional>
#include <string>

#include "platform/win/controls.h"

namespace orv::win {

class ClockLabel : public TextWidget {
 public:
  // `font` gives the label's face at a size in points; the fonts are owned
  // (and kept) by whoever gives them.
  using FontAt = std::function<HFONT(double points)>;
  void attach(HWND w, FontAt font, double designPoints);
  HWND hwnd() const { return text_.hwnd(); }
  std::string text() const override { return text_.text(); }
  // Measures again only when the text's length changes: the seconds going
  // by do not change its width class.
  void setText(const std::string& text) override;
  // The fonts were remade (a new dpi): fit again.
  void Refit();
  double points() const { return points_; }

 private:
  WinText text_;
  FontAt font_;
  double design_ = 0;
  double points_ = 0;
  std::size_t length_ = 0;
};

}  // namespace orv::win
