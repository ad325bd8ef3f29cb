#include "buttons/win/gdi_region.h"

#include <vector>

namespace orv::buttons::win {

namespace {
CountedRegion PolygonRegion(const Point* points, int count) {
  std::vector<POINT> pts;
  pts.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) pts.push_back({points[i].x, points[i].y});
  return CountedRegion(::CreatePolygonRgn(pts.data(), count, WINDING));
}
}  // namespace

CountedRegion MakeEllipseRegion(const Rect& box) {
  return CountedRegion(::CreateEllipticRgn(box.left, box.top, box.right, box.bottom));
}

CountedRegion MakeRegion(const RegionDesc& desc) {
  CountedRegion region;
  switch (desc.kind) {
    case RegionDesc::Kind::Rectangle:
      region.reset(::CreateRectRgn(desc.box.left, desc.box.top, desc.box.right, desc.box.bottom));
      break;
    case RegionDesc::Kind::Polygon:
      region = PolygonRegion(desc.polygon.data(), static_cast<int>(desc.polygon.size()));
      break;
    case RegionDesc::Kind::Ellipse:
      region = MakeEllipseRegion(desc.box);
      break;
  }
  if (!region) return region;
  for (const auto& triangle : desc.cuts) {
    CountedRegion cut = PolygonRegion(triangle.data(), 3);
    if (cut) ::CombineRgn(region.get(), region.get(), cut.get(), RGN_DIFF);
  }
  return region;
}

void ApplyWindowRegion(HWND window, const RegionDesc& desc) {
  CountedRegion region = MakeRegion(desc);
  if (!region) return;
  // From here the window owns the region; on failure it stays ours.
  if (::SetWindowRgn(window, region.get(), TRUE)) region.release();
}

}  // namespace orv::buttons::win
