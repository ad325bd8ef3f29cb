// The GDI drawing surface: pixels against the core's raster, pictures,
// fonts, and the life of every GDI object over many redraws.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "buttons/caption_layout.h"
#include "buttons/face_renderer.h"
#include "buttons/shape_region.h"
#include "buttons/win/dib.h"
#include "buttons/win/gdi_counter.h"
#include "buttons/win/gdi_picture.h"
#include "buttons/win/gdi_surface.h"
#include "tests/support/raster_surface.h"

namespace orv::buttons::win {
namespace {

constexpr Rgb32 kMagenta = 0xFF00FF;

// An icon whose centre square is black and the rest transparent.
CountedIcon MakeIcon(int size) {
  CountedBitmap color = MakeDib(size, size, [](int, int) { return Rgb32{0}; });
  CountedBitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
  {
    CountedDc dc(::CreateCompatibleDC(nullptr));
    orv::win::ScopedSelect sel(dc.get(), mask.get());
    ::PatBlt(dc.get(), 0, 0, size, size, WHITENESS);
    ::PatBlt(dc.get(), size / 4, size / 4, size / 2, size / 2, BLACKNESS);
  }
  ICONINFO ii{TRUE, 0, 0, mask.get(), color.get()};
  return CountedIcon(::CreateIconIndirect(&ii));
}

FaceInputs Face(int shape, int w, int h, const std::string& caption) {
  FaceInputs in;
  in.ButtonShape = shape;
  ApplyShapeGeometry(in, BuildShapeRegion(shape, w, h));
  in.Caption = caption;
  in.BackColor = 0xC0C0C0;
  in.HoverBackColor = 0xC0C0C0;
  in.colors = DeriveFaceColors(in.BackColor, in.HoverBackColor, [](int i) { return ::GetSysColor(i); });
  return in;
}

class SurfaceTest : public ::testing::Test {
 protected:
  void Prepare(DrawingSurface& s, const FaceInputs& in, const CaptionFont& font = CaptionFont{"Arial", 9.75, 700}) {
    HDC screen = ::GetDC(nullptr);
    s.Prepare(screen, in.ScaleWidth, in.ScaleHeight, font);
    ::ReleaseDC(nullptr, screen);
    s.SetClipEllipse(BuildShapeRegion(in.ButtonShape, in.ScaleWidth, in.ScaleHeight).clipEllipse);
  }
  static void Layout(FaceInputs& in, TextMeasurer& m) {
    CaptionLayout l = LayoutCaption(in, m);
    ApplyCaptionLayout(in, l);
  }
};

TEST_F(SurfaceTest, FacesWithoutCaptionMatchTheCoreRasterPixelForPixel) {
  struct Case { int shape; int flags; bool enabled; int gradient; };
  const Case cases[] = {
      {ShapeRectangle, 0, true, 0},
      {ShapeRectangle, StateDefaultLook, true, 0},
      {ShapeRectangle, StatePressed | StateMouseOver, true, 0},
      {ShapeRectangle, StateMouseOver, true, 0},
      {ShapeRectangle, 0, false, 0},
      {ShapeLeftSlant, 0, true, 0},
      {ShapeRightSlant, StateMouseOver, true, 0},
      {ShapeParallelogram, 0, true, GradientLeftToRight},
      {ShapeParallelogram, 0, false, GradientTopToBottom},
  };
  for (const Case& c : cases) {
    FaceInputs in = Face(c.shape, 90, 24, "");
    in.nStateFlags = c.flags;
    in.Enabled = c.enabled;
    in.GradientMode = c.gradient;
    in.GradientColor = 0x800000;
    DrawingSurface s;
    Prepare(s, in);
    ::PatBlt(s.dc(), 0, 0, in.ScaleWidth, in.ScaleHeight, BLACKNESS);
    DrawButtonFace(s, in);
    orv::test::RasterSurface r(in.ScaleWidth, in.ScaleHeight);
    DrawButtonFace(r, in);
    int mismatches = 0;
    for (int y = 0; y < in.ScaleHeight; ++y)
      for (int x = 0; x < in.ScaleWidth; ++x) {
        Rgb32 want = r.At(x, y);
        if (want == orv::test::RasterSurface::kUnpainted) continue;
        if (::GetPixel(s.dc(), x, y) != want) ++mismatches;
      }
    EXPECT_EQ(mismatches, 0) << "shape " << c.shape << " flags " << c.flags << " enabled " << c.enabled;
  }
}

TEST_F(SurfaceTest, CaptionFontAndMeasurement) {
  LOGFONTW lf = CaptionLogFont(CaptionFont{"Times New Roman", 9.75, 700, true}, nullptr);
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
  EXPECT_STREQ(lf.lfFaceName, L"Times New Roman");
  EXPECT_EQ(CaptionLogFont(CaptionFont{"x", 11.25}, nullptr).lfHeight, -15);
  EXPECT_EQ(CaptionLogFont(CaptionFont{"x", 12}, nullptr).lfHeight, -16);
  LOGFONTW longName = CaptionLogFont(CaptionFont{std::string(40, 'a'), 12}, nullptr);
  EXPECT_EQ(std::wcslen(longName.lfFaceName), 31u);

  FaceInputs in = Face(ShapeRectangle, 97, 65, "Um||Dois");
  DrawingSurface s;
  Prepare(s, in);
  Rect one = s.MeasureText("Um", {0, 0, 85, 53}, kTextCalcRect | kTextWordBreak);
  Rect two = s.MeasureText("Um\r\nDois", {0, 0, 85, 53}, kTextCalcRect | kTextWordBreak);
  EXPECT_GT(one.bottom, 0);
  EXPECT_EQ(two.bottom, 2 * one.bottom);
  Layout(in, s);
  EXPECT_EQ(in.CaptionRect.height(), two.bottom);
}

TEST_F(SurfaceTest, TransparentBitmapKeepsTheBackgroundUnderItsCornerColour) {
  FaceInputs in = Face(ShapeRectangle, 40, 40, "");
  DrawingSurface s;
  Prepare(s, in);
  ::PatBlt(s.dc(), 0, 0, 40, 40, WHITENESS);
  // Magenta with a blue 8 x 8 square in the middle.
  CountedBitmap pic = MakeDib(16, 16, [](int x, int y) {
    return (x >= 4 && x < 12 && y >= 4 && y < 12) ? Rgb32{0xFF0000} : kMagenta;
  });
  DrawTransparentBitmap(s.dc(), {10, 10, 26, 26}, pic.get(), 16, 16);
  EXPECT_EQ(::GetPixel(s.dc(), 10, 10), 0xFFFFFFu);
  EXPECT_EQ(::GetPixel(s.dc(), 25, 25), 0xFFFFFFu);
  EXPECT_EQ(::GetPixel(s.dc(), 15, 15), 0xFF0000u);
  // A smaller destination shrinks it by the smaller ratio: 8 / 16.
  ::PatBlt(s.dc(), 0, 0, 40, 40, WHITENESS);
  DrawTransparentBitmap(s.dc(), {0, 0, 8, 12}, pic.get(), 16, 16);
  EXPECT_EQ(::GetPixel(s.dc(), 4, 4), 0xFF0000u);
  EXPECT_EQ(::GetPixel(s.dc(), 4, 9), 0xFFFFFFu);
}

TEST_F(SurfaceTest, IconsBitmapsAndTheGreyedImage) {
  CountedIcon icon = MakeIcon(32);
  FaceInputs in = Face(ShapeRectangle, 97, 65, "");
  in.Picture = ReadPictureMetrics(icon.get(), 0);
  ASSERT_EQ(in.Picture.kind, 1);
  in.PictureSize = 32;
  in.PictureAlign = PictureTopCenter;
  DrawingSurface s;
  Prepare(s, in);
  Layout(in, s);
  DrawButtonFace(s, in);
  const Rect p = in.PictureRect;
  // The icon's opaque centre is black, its transparent edge shows the face.
  EXPECT_EQ(::GetPixel(s.dc(), p.left + 16, p.top + 16), 0u);
  EXPECT_NE(::GetPixel(s.dc(), p.left + 2, p.top + 16), 0u);

  in.Enabled = false;
  FaceReport r = DrawButtonFace(s, in);
  EXPECT_FALSE(r.pictureSkipped);
  // Ink pixels take the dark brush; the light stamp shows one pixel up-left
  // of the ink's top-left corner, where the dark stamp does not reach.
  EXPECT_EQ(::GetPixel(s.dc(), p.left + 16, p.top + 16), Rgb32{0x9D9D9C});
  EXPECT_EQ(::GetPixel(s.dc(), p.left + 7, p.top + 7), Rgb32{0xE5E5E4});
  EXPECT_EQ(::GetPixel(s.dc(), p.left + 2, p.top + 16), ShadeColor(in.colors.FaceColor, -24, true));
}

TEST(PictureMetrics, KindsAndSizes) {
  long before = LiveGdiObjects();
  {
    CountedBitmap dib = MakeDib(20, 10, [](int, int) { return Rgb32{0}; });
    PictureInfo a = ReadPictureMetrics(dib.get(), 1);
    EXPECT_EQ(a.kind, 0);
    EXPECT_EQ(a.width, 20);
    EXPECT_EQ(a.height, 10);
    CountedIcon icon = MakeIcon(24);
    PictureInfo b = ReadPictureMetrics(icon.get(), 0);
    EXPECT_EQ(b.kind, 1);
    EXPECT_EQ(b.width, 24);
    EXPECT_EQ(b.height, 24);
    HDC screen = ::GetDC(nullptr);
    CountedBitmap ddb(::CreateCompatibleBitmap(screen, 12, 7));
    ::ReleaseDC(nullptr, screen);
    PictureInfo c = ReadPictureMetrics(ddb.get(), 1);
    EXPECT_EQ(c.kind, 1);  // not a DIB, not an icon: the kind stays
    EXPECT_EQ(c.width, 12);
    PictureInfo none = ReadPictureMetrics(nullptr, 0);
    EXPECT_FALSE(none.present());
  }
  EXPECT_EQ(LiveGdiObjects(), before);
}

TEST_F(SurfaceTest, OneHundredThousandRedrawsLeaveTheObjectCountUnchanged) {
  CountedIcon icon = MakeIcon(16);
  CountedBitmap bitmap = MakeDib(16, 16, [](int x, int y) { return (x + y) % 5 ? kMagenta : Rgb32{0x123456}; });
  const long base = LiveGdiObjects();
  long peak = base;
  {
    FaceInputs in = Face(ShapeRectangle, 40, 14, "Ok");
    in.PictureSize = 16;
    DrawingSurface s;
    Prepare(s, in, CaptionFont{"Arial", 8, 400});
    Layout(in, s);
    const long prepared = LiveGdiObjects();
    peak = prepared;
    auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 100000; ++i) {
      // Walk through the paths that make objects: states, gradients,
      // ellipse rims, icons, transparent bitmaps and greyed images.
      in.nStateFlags = (i % 3 == 0) ? StatePressed | StateMouseOver : (i % 3 == 1) ? StateMouseOver : 0;
      in.bHoverTimer = i % 3 == 1;
      in.Enabled = i % 7 != 0;
      in.GradientMode = (i % 11 == 0) ? GradientLeftToRight : GradientNone;
      in.CaptionStyle = i % 3;
      // Pictures cost about a millisecond a paint under Wine: one in 50.
      in.Picture = (i % 100 == 0) ? ReadPictureMetrics(icon.get(), 0)
                 : (i % 100 == 50) ? ReadPictureMetrics(bitmap.get(), 0)
                                   : PictureInfo{};
      if (i % 17 == 0) {
        in.ButtonShape = (i / 17) % 7;
        s.SetClipEllipse(BuildShapeRegion(in.ButtonShape, 40, 14).clipEllipse);
      }
      DrawButtonFace(s, in);
      if (i % 1000 == 0) {
        const long expected = prepared + (IsEllipseShape(in.ButtonShape) ? 1 : 0);  // + ClipRegion
        ASSERT_EQ(LiveGdiObjects(), expected) << "after " << i << " redraws";
        peak = std::max(peak, LiveGdiObjects());
      }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("100000 redraws: %.1f s, live objects %ld (prepared %ld)\n", seconds, LiveGdiObjects(), prepared);
  }
  EXPECT_EQ(LiveGdiObjects(), base);
  EXPECT_LE(peak, base + 6);  // DC, bitmap, pen, brush, font, clip
}

}  // namespace
}  // namespace orv::buttons::win
