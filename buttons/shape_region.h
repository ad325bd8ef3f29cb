#pragma once
// The outline of a button as a portable description of its window region,
// plus the slant coordinates and the inner clip ellipse the face follows.
#include <array>
#include <optional>
#include <vector>

#include "buttons/face_geometry.h"
#include "buttons/kw_enums.h"

namespace orv::buttons {

inline bool IsEllipseShape(int shape) { return shape >= ShapeOvalRim && shape <= ShapeOvalOutline; }

// A window region: one base area, then triangles cut out of it in order
// (each triangle a winding polygon, removed by region difference).
struct RegionDesc {
  enum class Kind { Rectangle, Polygon, Ellipse };
  Kind kind = Kind::Rectangle;
  Rect box;                    // Rectangle and Ellipse: the GDI box
  std::vector<Point> polygon;  // Polygon: vertices, winding fill
  std::vector<std::array<Point, 3>> cuts;
};

struct ShapeGeometry {
  int LeftSlantX = 0;
  int RightSlantX = 0;
  // The width the control must have; larger than the width asked for when a
  // slanted shape needs room for its slant. The region is built for it.
  int width = 0;
  int height = 0;
  RegionDesc window;
  std::optional<Rect> clipEllipse;  // ClipRegion of ellipse shapes
};

// The slant extent of slanted shapes (45 degrees: height + 1).
int SlantExtent(double scaleHeight);

// Widens a slanted shape until width - slant is at least 5.
int MinimumSlantedWidth(int width, int slant);

// Rebuilds the geometry from ButtonShape and the control's scale size.
ShapeGeometry BuildShapeRegion(int buttonShape, double scaleWidth, double scaleHeight);

// Pixel membership as the platform rasterises these regions: a rectangle
// covers [left, right) x [top, bottom); a polygon covers pixel (x, y) where
// the scanline y crosses it over [x, x + 1) (edges half-open in y). Exact for
// the rectangles and the vertical/45-degree polygons used here. An ellipse
// fills (left, top)-(right - 1, bottom - 1) as the platform does, sampled at
// pixel centres: it can differ from the platform by a pixel on the rim.
bool RegionContains(const RegionDesc& region, int x, int y);
bool PolygonContains(const std::vector<Point>& polygon, int x, int y);
bool EllipseContains(const Rect& box, int x, int y);

}  // namespace orv::buttons
