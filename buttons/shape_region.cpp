#include "buttons/shape_region.h"

#include "buttons/color.h"

namespace orv::buttons {

int SlantExtent(double scaleHeight) {
  // Single precision, as the region code always computed it.
  float quarter = static_cast<float>((static_cast<float>(scaleHeight) + 1.0f) / 4.0f);
  return RoundHalfEven(static_cast<double>(4.0f * quarter));
}

int MinimumSlantedWidth(int width, int slant) {
  int w = width;
  while (w - slant < 5) w += 5;
  return w;
}

ShapeGeometry BuildShapeRegion(int shape, double scaleWidth, double scaleHeight) {
  ShapeGeometry g;
  int W = RoundHalfEven(scaleWidth);
  int H = RoundHalfEven(scaleHeight);
  g.LeftSlantX = 0;
  g.RightSlantX = W;
  g.width = W;
  g.height = H;
  RegionDesc& region = g.window;

  bool leftCuts = false;
  bool rightCuts = false;
  if (shape >= ShapeLeftSlant && shape <= ShapeParallelogram) {
    int d = SlantExtent(scaleHeight);
    W = MinimumSlantedWidth(W, d);
    g.width = W;
    g.RightSlantX = W;
    Point p0{0, 0}, p1{0, H + 1}, p2{W + 1, H + 1}, p3{W + 1, 0};
    if (shape == ShapeLeftSlant || shape == ShapeParallelogram) {
      p1 = {d, H + 1};
      g.LeftSlantX = d;
    }
    if (shape == ShapeRightSlant || shape == ShapeParallelogram) {
      p3 = {W - d + 1, 0};
      g.RightSlantX = W - d;
    }
    region.kind = RegionDesc::Kind::Polygon;
    region.polygon = {p0, p1, p2, p3};
    leftCuts = shape == ShapeRightSlant;
    rightCuts = shape == ShapeLeftSlant;
  } else if (IsEllipseShape(shape)) {
    region.kind = RegionDesc::Kind::Ellipse;
    region.box = {0, 0, W + 1, H + 1};
    int k = shape == ShapeOvalOutline ? 0 : 1;
    g.clipEllipse = Rect{2 - k, 2 - k, W - 1 + k, H - 1 + k};
  } else {
    // Shape 0, and any stored value outside the range, is the rectangle.
    region.kind = RegionDesc::Kind::Rectangle;
    region.box = {0, 0, W + 1, H + 1};
    leftCuts = rightCuts = true;
  }

  if (leftCuts) {
    region.cuts.push_back({Point{0, 0}, Point{2, 0}, Point{0, 2}});
    region.cuts.push_back({Point{0, H}, Point{3, H}, Point{0, H - 3}});
  }
  if (rightCuts) {
    region.cuts.push_back({Point{W, 0}, Point{W - 2, 0}, Point{W, 2}});
    region.cuts.push_back({Point{W, H}, Point{W - 3, H}, Point{W, H - 3}});
  }
  if (g.RightSlantX == 0) g.RightSlantX = W;
  return g;
}

bool PolygonContains(const std::vector<Point>& poly, int x, int y) {
  // Winding number of the sample (x + 0.5, y) over edges half-open in y:
  // the scanline rule that puts a pixel in when the span [xl, xr) holds x.
  int winding = 0;
  std::size_t n = poly.size();
  double sx = x + 0.5;
  for (std::size_t i = 0; i < n; ++i) {
    Point a = poly[i];
    Point b = poly[(i + 1) % n];
    if (a.y == b.y) continue;
    bool down = a.y < b.y;
    int ymin = down ? a.y : b.y;
    int ymax = down ? b.y : a.y;
    if (y < ymin || y >= ymax) continue;
    double cx = a.x + static_cast<double>(b.x - a.x) * (y - a.y) / (b.y - a.y);
    if (cx < sx) winding += down ? 1 : -1;
  }
  return winding != 0;
}

bool EllipseContains(const Rect& box, int x, int y) {
  // The platform's ellipse regions leave out the box's last column and row.
  double rx = (box.right - box.left - 1) / 2.0;
  double ry = (box.bottom - box.top - 1) / 2.0;
  if (rx <= 0 || ry <= 0) return false;
  double cx = box.left + rx;
  double cy = box.top + ry;
  double dx = (x + 0.5 - cx) / rx;
  double dy = (y + 0.5 - cy) / ry;
  return dx * dx + dy * dy <= 1.0;
}

bool RegionContains(const RegionDesc& region, int x, int y) {
  bool in = false;
  switch (region.kind) {
    case RegionDesc::Kind::Rectangle:
      in = x >= region.box.left && x < region.box.right && y >= region.box.top && y < region.box.bottom;
      break;
    case RegionDesc::Kind::Polygon:
      in = PolygonContains(region.polygon, x, y);
      break;
    case RegionDesc::Kind::Ellipse:
      in = EllipseContains(region.box, x, y);
      break;
  }
  if (!in) return false;
  for (const auto& t : region.cuts) {
    if (PolygonContains({t[0], t[1], t[2]}, x, y)) return false;
  }
  return true;
}

}  // namespace orv::buttons
