#include "buttons/caption_layout.h"

#include <gtest/gtest.h>

#include "buttons/tests/face_test_support.h"

namespace orv::buttons {
namespace {

using test::MakeFace;
using test::RecordingSurface;

// The recording font: 7 pixels a character, 16 a line.
CaptionLayout Layout(const FaceInputs& in, RecordingSurface* surface = nullptr) {
  RecordingSurface local;
  return LayoutCaption(in, surface ? *surface : local);
}

FaceInputs WithPicture(FaceInputs in, int stored, int align) {
  in.Picture = {1, 1, 32, 32};
  in.PictureSize = stored;
  in.PictureAlign = align;
  return in;
}

TEST(UsableBand, SlantsGiveTwoThirdsToTheText) {
  EXPECT_EQ(UsableBand(ShapeRectangle, 100, 0, 100).width, 100);
  CaptionBand left = UsableBand(ShapeLeftSlant, 100, 34, 100);
  EXPECT_EQ(left.leftLimit, 34 - 11);
  EXPECT_EQ(left.rightLimit, 100);
  EXPECT_EQ(left.width, 100 - 23);
  CaptionBand right = UsableBand(ShapeRightSlant, 100, 0, 66);
  EXPECT_EQ(right.leftLimit, 0);
  EXPECT_EQ(right.rightLimit, 66 + 11);
  EXPECT_EQ(right.width, 77);
  CaptionBand both = UsableBand(ShapeParallelogram, 100, 34, 66);
  EXPECT_EQ(both.leftLimit, 23);
  EXPECT_EQ(both.rightLimit, 77);
  EXPECT_EQ(both.width, 54);
  EXPECT_EQ(UsableBand(ShapeOvalRim, 100, 0, 100).rightLimit, 100);
}

TEST(CaptionLines, DoublePipesBecomeLineBreaks) {
  EXPECT_EQ(CaptionLines("Um||Dois"), "Um\r\nDois");
  EXPECT_EQ(CaptionLines("a|b"), "a|b");
  EXPECT_EQ(CaptionLines("|||"), "\r\n|");
  EXPECT_EQ(CaptionLines("||||"), "\r\n\r\n");
}

TEST(LayoutCaption, MainWindowButtonWithIconAtTheLeftEdge) {
  // "Gravar": 89 x 33, 16-pixel icon at the left edge, centred caption.
  FaceInputs in = WithPicture(MakeFace(ShapeRectangle, 89, 33, "Gravar"), 16, PictureLeftEdge);
  RecordingSurface s;
  CaptionLayout l = Layout(in, &s);
  EXPECT_EQ(s.lastMeasured, "Gravar");
  EXPECT_EQ(s.lastMeasureBounds, (Rect{0, 0, 89 - 16 - 12, 33 - 12}));
  EXPECT_EQ(s.lastMeasureFormat, unsigned{kTextCalcRect | kTextWordBreak});
  EXPECT_EQ(l.CaptionRect, (Rect{31, 8, 73, 24}));
  EXPECT_EQ(l.PictureRect, (Rect{6, 8, 22, 24}));
}

TEST(LayoutCaption, LeftCaptionBesideLeftEdgePictureOnASlantedButton) {
  // leftLimit + 24 + 6 + 6 for the caption, leftLimit + 6 for the picture.
  FaceInputs in = WithPicture(MakeFace(ShapeLeftSlant, 120, 33, "Ler"), 24, PictureLeftEdge);
  in.CaptionAlign = CaptionLeft;
  CaptionLayout l = Layout(in);
  ASSERT_EQ(l.band.leftLimit, 34 - 11);
  EXPECT_EQ(l.CaptionRect.left, 23 + 36);
  EXPECT_EQ(l.PictureRect.left, 23 + 6);
}

TEST(LayoutCaption, AtAHigherDpiASquarePictureTakesItsScaledEdge) {
  // "Gravar" at 144 dpi: 134 x 50, the stored 16-pixel icon is 24 pixels wide.
  FaceInputs in = WithPicture(MakeFace(ShapeRectangle, 134, 50, "Gravar"), 16, PictureLeftEdge);
  in.PictureEdge = 24;
  RecordingSurface s;
  CaptionLayout l = Layout(in, &s);
  EXPECT_EQ(s.lastMeasureBounds, (Rect{0, 0, 134 - 24 - 12, 50 - 12}));
  EXPECT_EQ(l.PictureRect, (Rect{6, 13, 30, 37}));
  // Stretched and fitted pictures keep their own sizing.
  in.PictureSize = 40;
  EXPECT_EQ(in.squareEdge(), 40);
}

TEST(LayoutCaption, PictureAboveAndBelowTheCaption) {
  // "Retornar" on 97 x 65 with a 32-pixel picture.
  FaceInputs above = WithPicture(MakeFace(ShapeRectangle, 97, 65, "Retornar"), 32, PictureTopCenter);
  RecordingSurface s;
  CaptionLayout a = Layout(above, &s);
  EXPECT_EQ(s.lastMeasureBounds, (Rect{0, 0, 85, 65 - 12 - 32}));
  EXPECT_EQ(a.PictureRect, (Rect{32, 8, 64, 40}));
  EXPECT_EQ(a.CaptionRect, (Rect{20, 8 + 32 + 2, 76, 58}));

  FaceInputs below = above;
  below.PictureAlign = PictureBottomCenter;
  CaptionLayout b = Layout(below);
  EXPECT_EQ(b.CaptionRect, (Rect{20, 9, 76, 25}));
  EXPECT_EQ(b.PictureRect, (Rect{32, 8 + 16 + 3, 64, 59}));
}

TEST(LayoutCaption, PictureWithoutCaption) {
  FaceInputs in = WithPicture(MakeFace(ShapeRectangle, 97, 65), 16, PictureTopCenter);
  CaptionLayout l = Layout(in);
  EXPECT_EQ(l.PictureRect.top, (65 - 13) / 2);
  EXPECT_EQ(l.PictureRect.left, (97 - 16) / 2);
  // Beside a missing caption the picture falls back to the edges.
  EXPECT_EQ(Layout(WithPicture(MakeFace(ShapeRectangle, 120, 33), 24, PictureLeftOfCaption)).PictureRect.left, 6);
  EXPECT_EQ(Layout(WithPicture(MakeFace(ShapeRectangle, 120, 33), 24, PictureRightOfCaption)).PictureRect.left,
            120 - 6 - 24);
}

TEST(LayoutCaption, PictureAndCaptionCentredAsAGroup) {
  // 24-pixel picture, 6-pixel gap, "Ler" (21 pixels) centred on 120.
  FaceInputs left = WithPicture(MakeFace(ShapeRectangle, 120, 33, "Ler"), 24, PictureLeftOfCaption);
  CaptionLayout l = Layout(left);
  EXPECT_EQ(l.CaptionRect, (Rect{64, 8, 85, 24}));
  // y = (33 - 24) / 2 = 4 is clamped to 6, the bottom to H - 6.
  EXPECT_EQ(l.PictureRect, (Rect{34, 6, 58, 27}));

  FaceInputs right = WithPicture(MakeFace(ShapeRectangle, 120, 33, "Ler"), 24, PictureRightOfCaption);
  CaptionLayout r = Layout(right);
  EXPECT_EQ(r.CaptionRect, (Rect{34, 8, 55, 24}));
  EXPECT_EQ(r.PictureRect.left, 55 + 6);

  FaceInputs edge = WithPicture(MakeFace(ShapeRectangle, 120, 33, "Ler"), 24, PictureRightEdge);
  CaptionLayout e = Layout(edge);
  EXPECT_EQ(e.CaptionRect.left, (120 - 24 - 21) / 2);
  EXPECT_EQ(e.PictureRect.left, 120 - 6 - 24);
}

TEST(LayoutCaption, RightAlignedCaptionKeepsClearOfARightPicture) {
  FaceInputs in = WithPicture(MakeFace(ShapeRectangle, 120, 33, "Ler"), 16, PictureRightEdge);
  in.CaptionAlign = CaptionRight;
  EXPECT_EQ(Layout(in).CaptionRect.left, 120 - 16 - 6 - 21 - 6);
  in.Picture = {};
  EXPECT_EQ(Layout(in).CaptionRect.left, 120 - 6 - 21);
}

TEST(LayoutCaption, EffectStylesNeedTwoMorePixels) {
  FaceInputs in = MakeFace(ShapeRectangle, 120, 33, "Ler");
  in.CaptionStyle = CaptionEngraved;
  CaptionLayout l = Layout(in);
  EXPECT_EQ(l.CaptionRect.width(), 23);
  EXPECT_EQ(l.CaptionRect.height(), 18);
  EXPECT_EQ(l.CaptionRect.left, (120 - 23) / 2);
  EXPECT_EQ(l.CaptionRect.top, (33 - 18) / 2);
}

TEST(LayoutCaption, StretchedAndFittedPicturesTakeNoRoom) {
  for (int stored : {40, 48}) {
    FaceInputs in = WithPicture(MakeFace(ShapeRectangle, 120, 33, "Ler"), stored, PictureLeftEdge);
    RecordingSurface s;
    CaptionLayout l = Layout(in, &s);
    EXPECT_EQ(s.lastMeasureBounds.right, 120 - 12);
    EXPECT_EQ(l.CaptionRect.left, (120 - 21) / 2) << stored;
  }
}

TEST(LayoutCaption, LineBreaksAndClamping) {
  FaceInputs in = MakeFace(ShapeRectangle, 97, 65, "Um||Dois");
  RecordingSurface s;
  CaptionLayout l = Layout(in, &s);
  EXPECT_EQ(s.lastMeasured, "Um\r\nDois");
  EXPECT_EQ(l.CaptionRect.height(), 32);

  // A caption wider than a small button is clamped to the band and the face.
  FaceInputs tiny = MakeFace(ShapeRectangle, 30, 14, "Visitar");
  CaptionLayout t = Layout(tiny);
  EXPECT_EQ(t.CaptionRect.left, 6);
  EXPECT_EQ(t.CaptionRect.top, 6);
  EXPECT_LE(t.CaptionRect.right, 30);
  EXPECT_LE(t.CaptionRect.bottom, 14 - 6);
}

TEST(LayoutCaption, WordBreakWrapsAtTheBand) {
  // 169 - 12 = 157 pixels: "Visitar servidor KORVO" (154) fits on one line,
  // but not beside a 32-pixel picture.
  FaceInputs in = MakeFace(ShapeRectangle, 169, 81, "Visitar servidor KORVO");
  EXPECT_EQ(Layout(in).CaptionRect.height(), 16);
  in = WithPicture(in, 32, PictureLeftEdge);
  EXPECT_EQ(Layout(in).CaptionRect.height(), 32);
}

}  // namespace
}  // namespace orv::buttons

namespace orv::buttons {
namespace {

TEST(CaptionFontHeight, PointsToNegativePixelHeights) {
  EXPECT_EQ(CaptionFontHeight(9.75, 15), -13);
  EXPECT_EQ(CaptionFontHeight(11.25, 15), -15);
  EXPECT_EQ(CaptionFontHeight(12, 15), -16);
  EXPECT_EQ(CaptionFontHeight(8.25, 15), -11);
  EXPECT_EQ(CaptionFontHeight(12, 12), -20);  // 120 dots per inch
}

}  // namespace
}  // namespace orv::buttons
