#include "buttons/face_renderer.h"

#include <gtest/gtest.h>

#include "buttons/tests/face_test_support.h"
#include "platform/widgets.h"
#include "tests/support/raster_surface.h"

namespace orv::buttons {
namespace {

using test::MakeFace;
using test::RasterSurface;
using test::RecordingSurface;
using test::Refresh;
using test::SurfaceOp;

FaceInputs Button(int shape = ShapeRectangle, int w = 80, int h = 24, const std::string& caption = "Ok") {
  FaceInputs in = MakeFace(shape, w, h, caption);
  Refresh(in);
  return in;
}

// Pen colour of each edge segment drawn, in drawing order.
std::vector<Rgb32> LinePens(const RecordingSurface& s) {
  std::vector<Rgb32> pens;
  for (const auto& op : s.Of(SurfaceOp::Line)) pens.push_back(op.pen);
  return pens;
}

std::vector<Rgb32> Column(int visual, Rgb32 face) {
  EdgeColorTable c = EdgeColorsFor(visual, face);
  std::vector<Rgb32> out;
  for (int i = 1; i <= 12; ++i) out.push_back(static_cast<Rgb32>(c[static_cast<std::size_t>(i)]));
  out.push_back(out.back());  // the closing bottom line uses the last pen
  return out;
}

struct StateCase {
  const char* name;
  int mode;
  bool value;
  int flags;
  bool held;
  bool showFocus;
  int expected;
};

TEST(DrawButtonFace, VisualStatePicksTheEdgeColumn) {
  const StateCase cases[] = {
      {"normal", 0, false, 0, false, true, VisualNormal},
      {"default", 0, false, StateDefaultLook, false, true, VisualDefault},
      {"default without focus rect", 0, false, StateDefaultLook, false, false, VisualNormal},
      {"pressed over", 0, false, StatePressed | StateMouseOver, true, true, VisualPressed},
      {"pressed, pointer away", 0, false, StatePressed, true, true, VisualNormal},
      {"hot", 0, false, StateMouseOver, false, true, VisualHot},
      {"checked", 1, true, 0, false, true, VisualPressed},
      {"checked default", 1, true, StateDefaultLook, false, true, VisualDefault},
      {"checked hot", 1, true, StateMouseOver, false, true, VisualHot},
      {"toggle held", 1, false, 0, true, true, VisualPressed},
      {"option held and pressed over", 2, false, StatePressed | StateMouseOver, true, true, VisualPressed},
  };
  for (const auto& c : cases) {
    FaceInputs in = Button();
    in.Mode = c.mode;
    in.Value = c.value;
    in.nStateFlags = c.flags;
    in.bMouseHeld = c.held;
    in.ShowFocusRect = c.showFocus;
    RecordingSurface s;
    FaceReport r = DrawButtonFace(s, in);
    EXPECT_EQ(r.VisualState, c.expected) << c.name;
    EXPECT_EQ(LinePens(s), Column(c.expected, r.faceColor)) << c.name;
  }
}

TEST(EdgeColors, SpotValues) {
  const Rgb32 face = Rgb(200, 200, 200);
  EXPECT_EQ(EdgeColorsFor(VisualNormal, face)[8], static_cast<std::int32_t>(ShadeColor(face, -48, true)));
  EXPECT_EQ(EdgeColorsFor(VisualPressed, face)[3], static_cast<std::int32_t>(face));
  EXPECT_EQ(EdgeColorsFor(VisualDefault, face)[8], 0xEF826B);
  EXPECT_EQ(EdgeColorsFor(VisualHot, face)[12], 0x733C00);
}

TEST(DrawButtonFace, CommandButtonFillColours) {
  FaceInputs in = Button();
  RecordingSurface s;
  EXPECT_EQ(DrawButtonFace(s, in).fillColor, in.colors.FaceColor);
  in.nStateFlags = StatePressed | StateMouseOver;
  EXPECT_EQ(DrawButtonFace(s, in).fillColor, in.colors.PressedFaceColor);
  in.GradientMode = GradientLeftToRight;  // a gradient is not darkened when pressed
  EXPECT_EQ(DrawButtonFace(s, in).fillColor, in.colors.FaceColor);
}

TEST(DrawButtonFace, RowShadingDarkensByAboutTwentyFiveDownTheFace) {
  FaceInputs in = Button(ShapeRectangle, 89, 33);
  RecordingSurface s;
  DrawButtonFace(s, in);
  auto fills = s.Of(SurfaceOp::Fill);
  ASSERT_EQ(fills.size(), 32u);
  for (int i = 1; i <= 32; ++i) {
    const auto& f = fills[static_cast<std::size_t>(i - 1)];
    EXPECT_EQ(f.rect, (Rect{1, i, 88, i + 1}));
    EXPECT_EQ(f.outline, -1);
    int amount = RoundHalfEven(-static_cast<double>(25.0f / 33.0f) * i);
    EXPECT_EQ(f.color, ShadeColor(in.colors.FaceColor, amount, true)) << i;
  }
  EXPECT_EQ(fills.back().color, ShadeColor(in.colors.FaceColor, -24, true));
}

TEST(DrawButtonFace, RowShadingRoundsHalvesToEven) {
  // 25 / 20 = 1.25 exactly: row 2 is -2.5 -> -2, row 6 is -7.5 -> -8.
  FaceInputs in = Button(ShapeRectangle, 40, 20);
  RecordingSurface s;
  DrawButtonFace(s, in);
  auto fills = s.Of(SurfaceOp::Fill);
  EXPECT_EQ(fills[1].color, ShadeColor(in.colors.FaceColor, -2, true));
  EXPECT_EQ(fills[5].color, ShadeColor(in.colors.FaceColor, -8, true));
}

TEST(DrawButtonFace, HoverColourOnlyWhileThePointerIsOverAndNotPressed) {
  FaceInputs in = Button();
  in.HoverBackColor = Rgb(0, 0, 255);
  Refresh(in);
  in.bHoverTimer = true;
  in.nStateFlags = StateMouseOver;
  RecordingSurface hover;
  DrawButtonFace(hover, in);
  EXPECT_EQ(hover.Of(SurfaceOp::Fill)[0].color, ShadeColor(in.colors.HoverFaceColor, -1, true));
  in.nStateFlags = StateMouseOver | StatePressed;
  RecordingSurface pressed;
  DrawButtonFace(pressed, in);
  EXPECT_EQ(pressed.Of(SurfaceOp::Fill)[0].color, ShadeColor(in.colors.PressedFaceColor, -1, true));
}

TEST(FillGradient, BandCountsFollowTheScreenSize) {
  EXPECT_EQ(GradientBandsFor(100, 1024).count, 100);
  EXPECT_EQ(GradientBandsFor(100, 1024).band, 1);
  EXPECT_EQ(GradientBandsFor(300, 1024).count, 150);
  EXPECT_EQ(GradientBandsFor(300, 1024).band, 2);
  EXPECT_EQ(GradientBandsFor(256, 1024).band, 1);  // 1024 / 256 = 4
  EXPECT_EQ(GradientBandsFor(257, 1024).band, 2);  // 1024 / 257 = 3
  EXPECT_EQ(GradientBandsFor(0, 1024).count, 0);
}

TEST(FillGradient, LeftToRightAndBack) {
  FaceInputs in = Button(ShapeRectangle, 100, 30);
  in.ScreenWidth = 1024;
  RecordingSurface s;
  FillGradient(s, in, GradientLeftToRight, Rgb(0, 0, 0), Rgb(200, 0, 0));
  auto bands = s.Of(SurfaceOp::Fill);
  ASSERT_EQ(bands.size(), 100u);
  EXPECT_EQ(bands.front().rect, (Rect{0, 0, 1, 30}));
  EXPECT_EQ(bands.front().color, Rgb(0, 0, 0));
  EXPECT_EQ(bands.back().rect, (Rect{99, 0, 100, 30}));
  EXPECT_GE(bands.back().color & 0xFF, 199u);

  RecordingSurface back;
  FillGradient(back, in, GradientRightToLeft, Rgb(0, 0, 0), Rgb(200, 0, 0));
  EXPECT_EQ(back.Of(SurfaceOp::Fill).back().color, Rgb(0, 0, 0));
  EXPECT_EQ(back.Of(SurfaceOp::Fill).front().color, bands.back().color);

  FaceInputs wide = Button(ShapeRectangle, 300, 30);
  wide.ScreenWidth = 1024;
  RecordingSurface w;
  FillGradient(w, wide, GradientLeftToRight, 0, 0xFFFFFF);
  auto wb = w.Of(SurfaceOp::Fill);
  ASSERT_EQ(wb.size(), 150u);
  EXPECT_EQ(wb[1].rect, (Rect{2, 0, 4, 30}));
  EXPECT_EQ(wb.back().rect, (Rect{298, 0, 300, 30}));

  RecordingSurface down;
  in.ScreenHeight = 100;  // 100 / 30 = 3: two-pixel bands down the height
  FillGradient(down, in, GradientBottomToTop, 0, 0xFFFFFF);
  auto db = down.Of(SurfaceOp::Fill);
  ASSERT_EQ(db.size(), 15u);
  EXPECT_EQ(db[0].rect, (Rect{0, 0, 100, 2}));
  EXPECT_EQ(db.back().color, 0u);
}

TEST(DrawButtonFace, GradientFaceAndItsHoverFill) {
  FaceInputs in = Button(ShapeRectangle, 100, 30);
  in.GradientMode = GradientTopToBottom;
  in.GradientColor = Rgb(0, 0, 128);
  in.HoverBackColor = in.GradientColor;  // locked hover colour follows the gradient
  Refresh(in);
  RecordingSurface s;
  DrawButtonFace(s, in);
  auto fills = s.Of(SurfaceOp::Fill);
  ASSERT_EQ(fills.size(), 30u);
  EXPECT_EQ(fills.front().color, in.colors.FaceColor);
  EXPECT_EQ(fills.back().rect, (Rect{0, 29, 100, 30}));

  // Hovering keeps the gradient while the hover colour is the gradient's...
  in.bHoverTimer = true;
  in.nStateFlags = StateMouseOver;
  RecordingSurface same;
  DrawButtonFace(same, in);
  EXPECT_EQ(same.Count(SurfaceOp::Fill), 30);
  // ...and paints the hover colour flat once it differs.
  in.HoverBackColor = Rgb(255, 0, 0);
  Refresh(in);
  RecordingSurface flat;
  DrawButtonFace(flat, in);
  ASSERT_EQ(flat.Count(SurfaceOp::Fill), 1);
  EXPECT_EQ(flat.Of(SurfaceOp::Fill)[0].rect, (Rect{0, 0, 100, 30}));
  EXPECT_EQ(flat.Of(SurfaceOp::Fill)[0].color, in.colors.HoverFaceColor);
}

TEST(DrawButtonFace, CheckedToggleIgnoresTheGradient) {
  FaceInputs in = Button(ShapeRectangle, 80, 24);
  in.Mode = 1;
  in.Value = true;
  in.GradientMode = GradientLeftToRight;
  RecordingSurface s;
  FaceReport r = DrawButtonFace(s, in);
  EXPECT_EQ(r.faceColor, Rgb(223, 224, 214));
  auto fills = s.Of(SurfaceOp::Fill);
  ASSERT_EQ(fills.size(), 23u);
  EXPECT_EQ(fills[0].rect, (Rect{1, 1, 79, 2}));
  EXPECT_EQ(fills[0].color, ShadeColor(Rgb(223, 224, 214), -1, true));
}

TEST(DrawButtonFace, DisabledCommandButtonShowsOnlyItsFrame) {
  FaceInputs in = Button(ShapeRectangle, 80, 24, "Sair");
  in.Enabled = false;
  RecordingSurface s;
  FaceReport r = DrawButtonFace(s, in);
  const Rgb32 face = in.colors.FaceColor;
  const Rgb32 flat = ShadeColor(face, -24, true);
  const Rgb32 frame = ShadeColor(face, -84, true);
  auto fills = s.Of(SurfaceOp::Fill);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 80, 24}));
  EXPECT_EQ(fills[0].color, flat);
  EXPECT_EQ(LinePens(s), std::vector<Rgb32>(5, frame));  // four frame sides + the bottom line
  for (const auto& px : s.Of(SurfaceOp::Pixel)) EXPECT_EQ(px.color, frame);
  EXPECT_EQ(s.Count(SurfaceOp::Pixel), 4);
  // The caption is drawn once, in the darkened fill colour.
  auto texts = s.Of(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].textColor, ShadeColor(flat, -104, true));
  EXPECT_EQ(texts[0].rect, in.CaptionRect);
  EXPECT_TRUE(r.plainDisabled);
}

TEST(DrawButtonFace, DisabledGradientCaptionIsWhiteUnderGrey) {
  FaceInputs in = Button(ShapeRectangle, 80, 24, "Sair");
  in.Enabled = false;
  in.GradientMode = GradientLeftToRight;
  RecordingSurface s;
  FaceReport r = DrawButtonFace(s, in);
  auto texts = s.Of(SurfaceOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].textColor, 0xFFFFFFu);
  EXPECT_EQ(texts[0].rect, in.CaptionRect.offset(1, 1));
  EXPECT_EQ(texts[1].textColor, 0x808080u);
  EXPECT_EQ(texts[1].rect, in.CaptionRect);
  EXPECT_FALSE(r.plainDisabled);
}

TEST(DrawButtonFace, DisabledToggleKeepsItsRowShading) {
  FaceInputs in = Button();
  in.Mode = 1;
  in.Enabled = false;
  RecordingSurface s;
  FaceReport r = DrawButtonFace(s, in);
  EXPECT_EQ(r.fillColor, in.colors.FaceColor);
  EXPECT_EQ(s.Count(SurfaceOp::Fill), 23);
}

TEST(DrawButtonFace, CaptionEffectsSurroundTheMainText) {
  for (int style : {CaptionEmbossed, CaptionEngraved}) {
    FaceInputs in = Button(ShapeRectangle, 89, 33, "Ler");
    in.CaptionStyle = style;
    in.ForeColor = Rgb(10, 20, 30);
    Refresh(in);
    RecordingSurface s;
    DrawButtonFace(s, in);
    auto texts = s.Of(SurfaceOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    const Rect c = in.CaptionRect;
    const int a = style == CaptionEmbossed ? -40 : 40;
    const Rgb32 fill = in.colors.FaceColor;
    EXPECT_EQ(texts[0].rect, c.offset(-1, 0));
    EXPECT_EQ(texts[0].textColor, ShadeColor(fill, a, false));
    EXPECT_EQ(texts[1].rect, c.offset(1, 2));
    EXPECT_EQ(texts[1].textColor, ShadeColor(fill, -a, false));
    EXPECT_EQ(texts[2].rect, c.offset(0, 1));
    EXPECT_EQ(texts[2].textColor, Rgb(10, 20, 30));
    EXPECT_EQ(texts[2].format, unsigned{kTextCenter | kTextWordBreak});
  }
}

TEST(DrawButtonFace, EngravedOnWhiteClampsTheLightPass) {
  FaceInputs in = Button(ShapeRectangle, 89, 33, "Ler");
  in.BackColor = 0xFFFFFF;
  in.CaptionStyle = CaptionEngraved;
  Refresh(in);
  RecordingSurface s;
  DrawButtonFace(s, in);
  EXPECT_EQ(s.Of(SurfaceOp::Text)[0].textColor, 0xFFFFFFu);
}

TEST(DrawButtonFace, CaptionColoursAndPressedOffset) {
  FaceInputs in = Button(ShapeRectangle, 89, 33, "Um||Dois");
  in.ForeColor = 0x80000012;
  in.HoverForeColor = Rgb(0, 0, 255);
  in.CaptionAlign = CaptionRight;
  Refresh(in);
  in.bHoverTimer = true;
  in.nStateFlags = StateMouseOver;
  RecordingSurface hot;
  DrawButtonFace(hot, in);
  auto t = hot.Of(SurfaceOp::Text);
  ASSERT_EQ(t.size(), 1u);
  EXPECT_EQ(t[0].text, "Um\r\nDois");
  EXPECT_EQ(t[0].textColor, Rgb(0, 0, 255));
  EXPECT_EQ(t[0].format, unsigned{kTextRight | kTextWordBreak});
  EXPECT_EQ(t[0].rect, in.CaptionRect);

  in.nStateFlags = StateMouseOver | StatePressed;
  RecordingSurface pressed;
  DrawButtonFace(pressed, in);
  t = pressed.Of(SurfaceOp::Text);
  EXPECT_EQ(t[0].textColor, ClassicSystemColor(0x12));
  EXPECT_EQ(t[0].rect, in.CaptionRect.offset(1, 1));

  FaceInputs oval = Button(ShapeOvalRim, 89, 33, "Ler");
  oval.Mode = 1;
  oval.Value = true;
  RecordingSurface checked;
  DrawButtonFace(checked, oval);
  EXPECT_EQ(checked.Of(SurfaceOp::Text)[0].rect, oval.CaptionRect.offset(0, 1));
}

TEST(DrawButtonFace, EllipseRimFollowsThePressAndNoEdgesAreDrawn) {
  FaceInputs in = Button(ShapeOvalRim, 90, 40);
  in.ContainerBackColor = Rgb(100, 100, 100);
  RecordingSurface s;
  s.hasClip = true;
  DrawButtonFace(s, in);
  ASSERT_GE(s.ops.size(), 2u);
  EXPECT_EQ(s.ops[0].kind, SurfaceOp::ClipOff);
  auto fills = s.Of(SurfaceOp::Fill);
  // 40 rim bands down the whole surface, unclipped, light on top...
  ASSERT_EQ(fills.size(), 40u + 39u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 90, 1}));
  EXPECT_FALSE(fills[0].clipped);
  EXPECT_EQ(fills[0].color, ShadeColor(Rgb(100, 100, 100), 172, false));
  // ...then the face rows inside the clip.
  EXPECT_TRUE(fills[40].clipped);
  EXPECT_EQ(s.Count(SurfaceOp::Line), 0);
  EXPECT_EQ(s.Count(SurfaceOp::Pixel), 0);

  in.nStateFlags = StatePressed | StateMouseOver;
  RecordingSurface pressed;
  DrawButtonFace(pressed, in);
  // Turned over: the top band takes the last (dark) colour of the ramp.
  const Rgb32 light = ShadeColor(Rgb(100, 100, 100), 172, false);
  const Rgb32 dark = ShadeColor(Rgb(100, 100, 100), -32, false);
  EXPECT_EQ(pressed.Of(SurfaceOp::Fill)[0].color, BuildGradientColors(40, light, dark).back());
  EXPECT_EQ(pressed.Of(SurfaceOp::Fill)[39].color, light);

  in.ButtonShape = ShapeOvalFixedRim;
  RecordingSurface fixed;
  DrawButtonFace(fixed, in);
  EXPECT_EQ(fixed.Count(SurfaceOp::Fill), 39);  // rim kept from the last unpressed paint
}

TEST(DrawButtonFace, OutlineEllipseAndRings) {
  FaceInputs in = Button(ShapeOvalOutline, 90, 40);
  RecordingSurface s;
  DrawButtonFace(s, in);
  auto ellipses = s.Of(SurfaceOp::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].rect, (Rect{0, 0, 90, 40}));
  EXPECT_EQ(ellipses[0].pen, 0u);
  EXPECT_EQ(ellipses[0].width, 2);

  in.nStateFlags = StateDefaultLook;
  RecordingSurface def;
  DrawButtonFace(def, in);
  ellipses = def.Of(SurfaceOp::Ellipse);
  ASSERT_EQ(ellipses.size(), 2u);
  EXPECT_EQ(ellipses[1].rect, (Rect{2, 2, 88, 38}));
  EXPECT_EQ(ellipses[1].pen, kDefaultRingColor);

  FaceInputs rim = Button(ShapeOvalRim, 90, 40);
  rim.nStateFlags = StateDefaultLook | StateMouseOver;
  rim.bHoverTimer = true;
  RecordingSurface hot;
  DrawButtonFace(hot, rim);
  ellipses = hot.Of(SurfaceOp::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].rect, (Rect{3, 3, 87, 37}));
  EXPECT_EQ(ellipses[0].pen, kHotRingColor);

  // The hot ring needs the default look too.
  rim.nStateFlags = StateMouseOver;
  RecordingSurface plain;
  DrawButtonFace(plain, rim);
  EXPECT_EQ(plain.Count(SurfaceOp::Ellipse), 0);
}

// Every pixel of the window region on the surface is painted, and the rings
// lie where they should: frame on the border, middle ring at inset 1, inner
// ring at inset 2.
TEST(DrawButtonFace, RingsOfAnUprightButtonOnARaster) {
  FaceInputs in = Button(ShapeRectangle, 80, 24, "");
  RasterSurface r(80, 24);
  FaceReport rep = DrawButtonFace(r, in);
  const EdgeColorTable& c = rep.EdgeColors;
  auto col = [&](int i) { return static_cast<Rgb32>(c[static_cast<std::size_t>(i)]); };
  EXPECT_EQ(r.At(2, 10), col(1));
  EXPECT_EQ(r.At(40, 2), col(2));
  EXPECT_EQ(r.At(77, 10), col(3));
  EXPECT_EQ(r.At(40, 21), col(4));
  EXPECT_EQ(r.At(1, 10), col(5));
  EXPECT_EQ(r.At(40, 1), col(6));
  EXPECT_EQ(r.At(78, 10), col(7));
  EXPECT_EQ(r.At(40, 22), col(8));
  for (auto p : {Point{0, 10}, Point{40, 0}, Point{79, 10}, Point{40, 23}, Point{1, 1}, Point{1, 22},
                 Point{78, 22}, Point{78, 1}}) {
    EXPECT_EQ(r.At(p.x, p.y), kFrameColor) << p.x << "," << p.y;
  }
  EXPECT_EQ(r.At(40, 10), ShadeColor(in.colors.FaceColor, RoundHalfEven(-static_cast<double>(25.0f / 24.0f) * 10), true));
}

TEST(DrawButtonFace, SlantedRingsStayInsideTheirRegion) {
  for (int shape : {ShapeRectangle, ShapeLeftSlant, ShapeRightSlant, ShapeParallelogram}) {
    FaceInputs in = Button(shape, 90, 24, "");
    RasterSurface r(in.ScaleWidth, in.ScaleHeight);
    DrawButtonFace(r, in);
    RegionDesc region = BuildShapeRegion(shape, 90, 24).window;
    int unpainted = 0;
    for (int y = 0; y < in.ScaleHeight; ++y)
      for (int x = 0; x < in.ScaleWidth; ++x)
        if (RegionContains(region, x, y) && r.At(x, y) == RasterSurface::kUnpainted) ++unpainted;
    EXPECT_EQ(unpainted, 0) << "shape " << shape;
  }
  // The slanted frame runs on the region's own edge: x = y on the left.
  FaceInputs par = Button(ShapeParallelogram, 90, 24, "");
  RasterSurface r(par.ScaleWidth, par.ScaleHeight);
  DrawButtonFace(r, par);
  for (int y = 1; y < 23; ++y) EXPECT_EQ(r.At(y, y), kFrameColor) << y;
}

TEST(DrawButtonFace, DisabledRasterHasNoInnerRings) {
  FaceInputs in = Button(ShapeRectangle, 80, 24, "");
  in.Enabled = false;
  RasterSurface r(80, 24);
  DrawButtonFace(r, in);
  const Rgb32 flat = ShadeColor(in.colors.FaceColor, -24, true);
  const Rgb32 frame = ShadeColor(in.colors.FaceColor, -84, true);
  EXPECT_EQ(r.At(0, 10), frame);
  EXPECT_EQ(r.At(1, 10), flat);
  EXPECT_EQ(r.At(2, 10), flat);
  EXPECT_EQ(r.At(40, 22), flat);
  EXPECT_EQ(r.At(1, 1), frame);
}

TEST(DrawPicture, FixedStretchedAndFittedSizes) {
  FaceInputs in = Button(ShapeRectangle, 97, 65, "");
  in.Picture = {7, 1, 32, 16};
  for (int stored : {16, 24, 32}) {
    in.PictureSize = stored;
    Refresh(in);
    RecordingSurface s;
    DrawButtonFace(s, in);
    auto p = s.Of(SurfaceOp::Picture);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].picture.rect, in.PictureRect);
    EXPECT_EQ(p[0].picture.drawWidth, stored);
    EXPECT_EQ(p[0].picture.drawHeight, stored);
    EXPECT_FALSE(p[0].picture.greyed);
    EXPECT_EQ(p[0].picture.picture.handle, 7u);
  }
  in.PictureSize = 40;
  Refresh(in);
  RecordingSurface stretch;
  DrawButtonFace(stretch, in);
  auto p = stretch.Of(SurfaceOp::Picture);
  EXPECT_EQ(p[0].picture.rect, (Rect{0, 0, 97, 65}));
  EXPECT_EQ(p[0].picture.drawWidth, 97);
  in.nStateFlags = StatePressed | StateMouseOver;  // pressed: one pixel over
  RecordingSurface pressed;
  DrawButtonFace(pressed, in);
  p = pressed.Of(SurfaceOp::Picture);
  EXPECT_EQ(p[0].picture.rect, (Rect{1, 1, 97, 65}));
  EXPECT_EQ(p[0].picture.drawWidth, 98);
  EXPECT_EQ(p[0].picture.drawHeight, 66);

  // Fit: min(85 / 32, 53 / 16) = 2.65625; 42.5 rounds to even.
  in.nStateFlags = 0;
  in.PictureSize = 48;
  Refresh(in);
  RecordingSurface fit;
  DrawButtonFace(fit, in);
  p = fit.Of(SurfaceOp::Picture);
  EXPECT_EQ(p[0].picture.drawWidth, 85);
  EXPECT_EQ(p[0].picture.drawHeight, 42);
  EXPECT_EQ(p[0].picture.rect, (Rect{6, 11, 91, 53}));
}

TEST(DrawPicture, DisabledImageIsGreyedInTwoStamps) {
  FaceInputs in = Button(ShapeRectangle, 89, 33, "Ler");
  in.Picture = {7, 1, 16, 16};
  Refresh(in);
  in.Enabled = false;
  RecordingSurface s;
  DrawButtonFace(s, in);
  auto p = s.Of(SurfaceOp::Picture);
  ASSERT_EQ(p.size(), 1u);
  const PictureDraw& d = p[0].picture;
  EXPECT_TRUE(d.greyed);
  EXPECT_EQ(d.greyRop, 0xB8074Au);
  EXPECT_EQ(d.lightBrush, Rgb(228, 229, 229));
  EXPECT_EQ(d.darkBrush, Rgb(156, 157, 157));
  EXPECT_EQ(d.lightAt, (Point{in.PictureRect.left - 1, in.PictureRect.top - 1}));
  EXPECT_EQ(d.darkAt, (Point{in.PictureRect.left, in.PictureRect.top}));
}

TEST(DrawPicture, FailedCopySkipsOnlyThePicture) {
  FaceInputs in = Button(ShapeRectangle, 89, 33, "Ler");
  in.Picture = {7, 0, 16, 16};
  Refresh(in);
  RecordingSurface s;
  s.failPictures = true;
  FaceReport r = DrawButtonFace(s, in);
  EXPECT_TRUE(r.pictureSkipped);
  EXPECT_EQ(s.Count(SurfaceOp::Text), 1);
  // Pictures come before the caption.
  auto first = std::find_if(s.ops.begin(), s.ops.end(), [](const SurfaceOp& o) {
    return o.kind == SurfaceOp::Picture || o.kind == SurfaceOp::Text;
  });
  EXPECT_EQ(first->kind, SurfaceOp::Picture);
}

}  // namespace
}  // namespace orv::buttons
