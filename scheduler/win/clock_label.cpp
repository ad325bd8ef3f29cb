#include "scheduler/win/clock_label.h"

#include "platform/win/scoped.h"
#include "platform/win/text.h"
#include "scheduler/clock_font_size.h"

namespace orv::win {

void ClockLabel::attach(HWND w, FontAt font, double designPoints) {
  text_.attach(w);
  font_ = std::move(font);
  design_ = points_ = designPoints;
  length_ = 0;
}

void ClockLabel::setText(const std::string& text) {
  text_.setText(text);
  if (text.size() != length_) Refit();
}

void ClockLabel::Refit() {
  HWND w = text_.hwnd();
  if (!w || !font_) return;
  const std::wstring text = Widen(text_.text());
  length_ = text_.text().size();
  RECT rc;
  GetClientRect(w, &rc);
  WindowDc dc(w);
  auto measure = [&](double pt) {
    ScopedSelect sel(dc.get(), font_(pt));
    SIZE sz{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &sz);
    return static_cast<int>(sz.cx);
  };
  points_ = LargestFittingSize(design_, 0.75, 6, rc.right - rc.left, measure);
  SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_(points_)), TRUE);
}

}  // namespace orv::win
