#pragma once
// A small software rasteriser behind DrawSurface: GDI's rules for filled
// rectangles (right/bottom exclusive, 1-pixel pen on the border), lines (end
// point left out) and pixels; ellipse outlines and the clip ellipse sample
// pixel centres. Text and pictures are counted, not drawn.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "buttons/color.h"
#include "buttons/draw_surface.h"
#include "buttons/shape_region.h"

namespace orv::test {

class RasterSurface : public buttons::DrawSurface {
 public:
  static constexpr std::uint32_t kUnpainted = 0xFF000000;

  RasterSurface(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), kUnpainted) {}

  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t At(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
  const std::vector<std::uint32_t>& pixels() const { return pixels_; }
  void SetClipEllipse(std::optional<buttons::Rect> clip) { clip_ = clip; clipOn_ = clip.has_value(); }

  int texts = 0;
  int pictures = 0;
  int primitives = 0;  // every drawing call, for the benchmark

  buttons::Rgb32 SystemColor(int index) const override { return buttons::ClassicSystemColor(index); }

  void FillBox(const buttons::Rect& b, buttons::Rgb32 fill, std::int32_t outline, int outlineWidth) override {
    ++primitives;
    buttons::Rgb32 edge = outline == -1 ? fill : static_cast<buttons::Rgb32>(outline);
    pen_ = edge;
    for (int y = b.top; y < b.bottom; ++y) {
      for (int x = b.left; x < b.right; ++x) {
        bool border = x == b.left || x == b.right - 1 || y == b.top || y == b.bottom - 1;
        Put(x, y, border ? edge : fill);
      }
    }
  }
  void SelectPen(buttons::Rgb32 color, int width) override {
    ++primitives;
    pen_ = color;
    penWidth_ = width;
  }
  void Line(buttons::Point a, buttons::Point b) override {
    ++primitives;
    int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    int x = a.x, y = a.y;
    while (!(x == b.x && y == b.y)) {
      Put(x, y, pen_);
      int e2 = 2 * err;
      if (e2 >= dy) { err += dy; x += sx; }
      if (e2 <= dx) { err += dx; y += sy; }
    }
  }
  void SetPixel(buttons::Point at, buttons::Rgb32 color) override {
    ++primitives;
    Put(at.x, at.y, color);
  }
  void EllipseOutline(const buttons::Rect& box) override {
    ++primitives;
    double rx = (box.right - box.left - 1) / 2.0, ry = (box.bottom - box.top - 1) / 2.0;
    double cx = box.left + rx, cy = box.top + ry;
    int steps = static_cast<int>(8 * (rx + ry)) + 8;
    for (int i = 0; i < steps; ++i) {
      double t = 2 * 3.14159265358979 * i / steps;
      for (int w = 0; w < penWidth_; ++w) {
        Put(static_cast<int>(std::lround(cx + (rx - w) * std::cos(t))),
            static_cast<int>(std::lround(cy + (ry - w) * std::sin(t))), pen_);
      }
    }
  }
  void RemoveClip() override { clipOn_ = false; }
  void RestoreClip() override { clipOn_ = clip_.has_value(); }
  void SetTextColor(buttons::Rgb32) override {}
  void DrawText(const std::string&, const buttons::Rect&, unsigned) override { ++texts; ++primitives; }
  bool DrawPicture(const buttons::PictureDraw&) override { ++pictures; ++primitives; return true; }
  buttons::Rect MeasureText(const std::string& text, const buttons::Rect& bounds, unsigned) override {
    return {bounds.left, bounds.top, bounds.left + 7 * static_cast<int>(text.size()), bounds.top + 16};
  }

 private:
  void Put(int x, int y, buttons::Rgb32 c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    if (clipOn_ && clip_ && !buttons::EllipseContains(*clip_, x, y)) return;
    pixels_[static_cast<std::size_t>(y * width_ + x)] = c;
  }

  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  std::optional<buttons::Rect> clip_;
  bool clipOn_ = false;
  buttons::Rgb32 pen_ = 0;
  int penWidth_ = 1;
};

}  // namespace orv::test
