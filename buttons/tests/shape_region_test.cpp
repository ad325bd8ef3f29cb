#include "buttons/shape_region.h"

#include <gtest/gtest.h>

namespace orv::buttons {
namespace {

using Tri = std::array<Point, 3>;

TEST(BuildShapeRegion, RectangleIsItsBoxMinusFourCornerTriangles) {
  ShapeGeometry g = BuildShapeRegion(ShapeRectangle, 80, 24);
  EXPECT_EQ(g.LeftSlantX, 0);
  EXPECT_EQ(g.RightSlantX, 80);
  EXPECT_EQ(g.width, 80);
  EXPECT_FALSE(g.clipEllipse);
  EXPECT_EQ(g.window.kind, RegionDesc::Kind::Rectangle);
  EXPECT_EQ(g.window.box, (Rect{0, 0, 81, 25}));
  std::vector<Tri> cuts{Tri{Point{0, 0}, Point{2, 0}, Point{0, 2}}, Tri{Point{0, 24}, Point{3, 24}, Point{0, 21}},
                        Tri{Point{80, 0}, Point{78, 0}, Point{80, 2}}, Tri{Point{80, 24}, Point{77, 24}, Point{80, 21}}};
  EXPECT_EQ(g.window.cuts, cuts);
}

TEST(BuildShapeRegion, RectangleCornersLoseThreePixelsEach) {
  RegionDesc r = BuildShapeRegion(ShapeRectangle, 80, 24).window;
  // Top-left: the two-pixel cut takes (0,0), (1,0), (0,1).
  EXPECT_FALSE(RegionContains(r, 0, 0));
  EXPECT_FALSE(RegionContains(r, 1, 0));
  EXPECT_FALSE(RegionContains(r, 0, 1));
  EXPECT_TRUE(RegionContains(r, 2, 0));
  EXPECT_TRUE(RegionContains(r, 1, 1));
  EXPECT_TRUE(RegionContains(r, 0, 2));
  // Bottom-left, the three-pixel cut: (0,23), (1,23), (0,22).
  EXPECT_FALSE(RegionContains(r, 0, 23));
  EXPECT_FALSE(RegionContains(r, 1, 23));
  EXPECT_FALSE(RegionContains(r, 0, 22));
  EXPECT_TRUE(RegionContains(r, 2, 23));
  EXPECT_TRUE(RegionContains(r, 1, 22));
  // Right corners mirror them.
  EXPECT_FALSE(RegionContains(r, 79, 0));
  EXPECT_FALSE(RegionContains(r, 78, 0));
  EXPECT_FALSE(RegionContains(r, 79, 1));
  EXPECT_TRUE(RegionContains(r, 78, 1));
  EXPECT_FALSE(RegionContains(r, 79, 23));
  EXPECT_FALSE(RegionContains(r, 78, 23));
  EXPECT_FALSE(RegionContains(r, 79, 22));
  EXPECT_TRUE(RegionContains(r, 78, 22));
  int cut = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 80; ++x) cut += RegionContains(r, x, y) ? 0 : 1;
  EXPECT_EQ(cut, 12);
}

TEST(BuildShapeRegion, SlantedShapesAreWidenedUntilFivePixelsRemain) {
  ShapeGeometry narrow = BuildShapeRegion(ShapeLeftSlant, 24, 20);
  EXPECT_EQ(SlantExtent(20), 21);
  EXPECT_EQ(narrow.width, 29);
  EXPECT_EQ(narrow.LeftSlantX, 21);
  EXPECT_EQ(narrow.RightSlantX, 29);
  EXPECT_EQ(narrow.window.polygon, (std::vector<Point>{{0, 0}, {21, 21}, {30, 21}, {30, 0}}));
  // The right corners of the widened width are cut.
  ASSERT_EQ(narrow.window.cuts.size(), 2u);
  EXPECT_EQ(narrow.window.cuts[0][0], (Point{29, 0}));

  EXPECT_EQ(BuildShapeRegion(ShapeLeftSlant, 26, 20).width, 26);
  EXPECT_EQ(BuildShapeRegion(ShapeParallelogram, 10, 20).width, 30);
  EXPECT_EQ(BuildShapeRegion(ShapeRectangle, 10, 20).width, 10);  // only slants widen
  EXPECT_EQ(MinimumSlantedWidth(0, 21), 30);
}

TEST(BuildShapeRegion, RightSlantCutsOnlyTheLeftCorners) {
  ShapeGeometry g = BuildShapeRegion(ShapeRightSlant, 60, 20);
  EXPECT_EQ(g.LeftSlantX, 0);
  EXPECT_EQ(g.RightSlantX, 60 - 21);
  EXPECT_EQ(g.window.polygon, (std::vector<Point>{{0, 0}, {0, 21}, {61, 21}, {40, 0}}));
  std::vector<Tri> cuts{Tri{Point{0, 0}, Point{2, 0}, Point{0, 2}}, Tri{Point{0, 20}, Point{3, 20}, Point{0, 17}}};
  EXPECT_EQ(g.window.cuts, cuts);
}

TEST(BuildShapeRegion, ParallelogramKeepsAllFourCorners) {
  ShapeGeometry g = BuildShapeRegion(ShapeParallelogram, 100, 24);
  EXPECT_EQ(g.LeftSlantX, 25);
  EXPECT_EQ(g.RightSlantX, 100 - 24 - 1);
  EXPECT_EQ(g.window.polygon, (std::vector<Point>{{0, 0}, {25, 25}, {101, 25}, {76, 0}}));
  EXPECT_TRUE(g.window.cuts.empty());
  // Both edges run at 45 degrees: row y spans x = y .. 75 + y.
  for (int y = 0; y < 24; ++y) {
    EXPECT_FALSE(RegionContains(g.window, y - 1, y)) << y;
    EXPECT_TRUE(RegionContains(g.window, y, y)) << y;
    EXPECT_TRUE(RegionContains(g.window, 75 + y, y)) << y;
    EXPECT_FALSE(RegionContains(g.window, 76 + y, y)) << y;
  }
}

TEST(BuildShapeRegion, EllipsesClipInsideTheirWindowEllipse) {
  for (int shape : {ShapeOvalRim, ShapeOvalFixedRim}) {
    ShapeGeometry g = BuildShapeRegion(shape, 90, 40);
    EXPECT_EQ(g.window.kind, RegionDesc::Kind::Ellipse);
    EXPECT_EQ(g.window.box, (Rect{0, 0, 91, 41}));
    EXPECT_TRUE(g.window.cuts.empty());
    ASSERT_TRUE(g.clipEllipse);
    EXPECT_EQ(*g.clipEllipse, (Rect{1, 1, 90, 40}));
    EXPECT_EQ(g.LeftSlantX, 0);
    EXPECT_EQ(g.RightSlantX, 90);
  }
  ShapeGeometry outline = BuildShapeRegion(ShapeOvalOutline, 90, 40);
  ASSERT_TRUE(outline.clipEllipse);
  EXPECT_EQ(*outline.clipEllipse, (Rect{2, 2, 89, 39}));
}

TEST(BuildShapeRegion, BackToUprightRestoresTheSlantCoordinates) {
  ShapeGeometry slanted = BuildShapeRegion(ShapeParallelogram, 100, 24);
  ShapeGeometry upright = BuildShapeRegion(ShapeRectangle, slanted.width, 24);
  EXPECT_EQ(upright.LeftSlantX, 0);
  EXPECT_EQ(upright.RightSlantX, 100);
}

TEST(PolygonContains, WindingRuleCountsOverlapsOnce) {
  // A self-overlapping outline (drawn twice around) stays filled with winding.
  std::vector<Point> twice{{0, 0}, {0, 4}, {4, 4}, {4, 0}, {0, 0}, {0, 4}, {4, 4}, {4, 0}};
  EXPECT_TRUE(PolygonContains(twice, 2, 2));
  EXPECT_FALSE(PolygonContains(twice, 4, 2));
}

}  // namespace
}  // namespace orv::buttons
