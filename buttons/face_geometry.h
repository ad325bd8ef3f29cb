#pragma once
// Pixel geometry shared by the face, shape and caption code. Rectangles are
// GDI-style: right and bottom exclusive.

namespace orv::buttons {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace orv::buttons
