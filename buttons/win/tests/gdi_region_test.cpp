// Window regions built from the portable outline, read back from a real
// window, against the geometry the core computes.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "buttons/shape_region.h"
#include "buttons/win/gdi_counter.h"
#include "buttons/win/gdi_region.h"
#include "buttons/win/gdi_surface.h"

namespace orv::buttons::win {
namespace {

class RegionWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { ::DestroyWindow(window_); }

  // The window's region as the platform keeps it.
  CountedRegion ReadBack() {
    CountedRegion r(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_NE(::GetWindowRgn(window_, r.get()), ERROR);
    return r;
  }

  static std::vector<RECT> Rects(HRGN region) {
    DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    ::GetRegionData(region, size, data);
    const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
    return {r, r + data->rdh.nCount};
  }

  // Same pixels (the platform may band the same area differently).
  static bool SamePixels(HRGN a, HRGN b) {
    CountedRegion diff(::CreateRectRgn(0, 0, 0, 0));
    return ::CombineRgn(diff.get(), a, b, RGN_XOR) == NULLREGION;
  }

  HWND window_ = nullptr;
};

TEST_F(RegionWindow, UprightAndSlantedOutlinesMatchTheCoreGeometryPixelForPixel) {
  struct Size { int w, h; };
  for (int shape : {ShapeRectangle, ShapeLeftSlant, ShapeRightSlant, ShapeParallelogram}) {
    for (Size s : {Size{80, 24}, Size{89, 33}, Size{24, 20}, Size{185, 33}}) {
      ShapeGeometry g = BuildShapeRegion(shape, s.w, s.h);
      ApplyWindowRegion(window_, g.window);
      CountedRegion back = ReadBack();
      CountedRegion direct = MakeRegion(g.window);
      EXPECT_TRUE(SamePixels(back.get(), direct.get()));
      int mismatches = 0;
      for (int y = -2; y < g.height + 3; ++y)
        for (int x = -2; x < g.width + 3; ++x)
          if ((::PtInRegion(back.get(), x, y) != FALSE) != RegionContains(g.window, x, y)) ++mismatches;
      EXPECT_EQ(mismatches, 0) << "shape " << shape << " " << s.w << "x" << s.h;
    }
  }
}

TEST_F(RegionWindow, RectangleIsItsBoxLessTwelveCornerPixels) {
  ShapeGeometry g = BuildShapeRegion(ShapeRectangle, 80, 24);
  ApplyWindowRegion(window_, g.window);
  CountedRegion back = ReadBack();
  RECT box{};
  ::GetRgnBox(back.get(), &box);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 81);
  EXPECT_EQ(box.bottom, 25);
  long area = 0;
  bool middle = false;
  for (const RECT& r : Rects(back.get())) {
    area += static_cast<long>(r.right - r.left) * (r.bottom - r.top);
    if (r.left == 0 && r.top == 2 && r.right == 81 && r.bottom == 22) middle = true;
  }
  EXPECT_EQ(area, 81L * 25 - 12);
  EXPECT_TRUE(middle);
  EXPECT_FALSE(::PtInRegion(back.get(), 0, 0));
  EXPECT_FALSE(::PtInRegion(back.get(), 1, 23));
  EXPECT_TRUE(::PtInRegion(back.get(), 1, 1));
}

TEST_F(RegionWindow, EllipsesAreTheBoxEllipseAndTheClipSitsInside) {
  for (int shape : {ShapeOvalRim, ShapeOvalFixedRim, ShapeOvalOutline}) {
    ShapeGeometry g = BuildShapeRegion(shape, 97, 65);
    ApplyWindowRegion(window_, g.window);
    CountedRegion back = ReadBack();
    CountedRegion direct(::CreateEllipticRgn(0, 0, 98, 66));
    EXPECT_TRUE(SamePixels(back.get(), direct.get()));
    ASSERT_TRUE(g.clipEllipse);
    CountedRegion clip = MakeEllipseRegion(*g.clipEllipse);
    // The clip lies inside the window ellipse, leaving a rim of 1 (2) pixels.
    CountedRegion outside(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::CombineRgn(outside.get(), clip.get(), back.get(), RGN_DIFF), NULLREGION);
    RECT clipBox{};
    ::GetRgnBox(clip.get(), &clipBox);
    int inset = shape == ShapeOvalOutline ? 2 : 1;
    EXPECT_EQ(clipBox.left, inset);
    EXPECT_EQ(clipBox.top, inset);
    // The centre-sampled core test agrees but for a few rim pixels.
    int mismatches = 0;
    for (int y = -1; y < 67; ++y)
      for (int x = -1; x < 99; ++x)
        if ((::PtInRegion(back.get(), x, y) != FALSE) != RegionContains(g.window, x, y)) ++mismatches;
    EXPECT_LT(mismatches, (97 + 65) / 4) << "shape " << shape;
    // The window ellipse covers exactly the button's W x H box.
    RECT box{};
    ::GetRgnBox(back.get(), &box);
    EXPECT_EQ(box.right, 97);
    EXPECT_EQ(box.bottom, 65);
  }
}

TEST(ClipEllipse, SelectedIntoTheSurfaceAndReplacedOnRebuild) {
  long before = LiveGdiObjects();
  {
    DrawingSurface surface;
    HDC screen = ::GetDC(nullptr);
    surface.Prepare(screen, 90, 40, CaptionFont{});
    ::ReleaseDC(nullptr, screen);
    surface.SetClipEllipse(Rect{1, 1, 90, 40});
    CountedRegion clip(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(::GetClipRgn(surface.dc(), clip.get()), 1);
    CountedRegion expected(::CreateEllipticRgn(1, 1, 90, 40));
    EXPECT_TRUE(::EqualRgn(clip.get(), expected.get()));
    long withClip = LiveGdiObjects();
    surface.SetClipEllipse(Rect{2, 2, 89, 39});
    EXPECT_EQ(LiveGdiObjects(), withClip);
    surface.SetClipEllipse(std::nullopt);
    EXPECT_EQ(::GetClipRgn(surface.dc(), clip.get()), 0);
    EXPECT_EQ(LiveGdiObjects(), withClip - 1);
  }
  EXPECT_EQ(LiveGdiObjects(), before);
}

}  // namespace
}  // namespace orv::buttons::win
