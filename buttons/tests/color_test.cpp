#include "buttons/color.h"

#include <gtest/gtest.h>

#include "buttons/face_inputs.h"
#include "platform/widgets.h"

namespace orv::buttons {
namespace {

TEST(ShadeColor, WorkedExamples) {
  EXPECT_EQ(ShadeColor(0xFFFFFF, -32, true), Rgb(223, 224, 214));
  // Green and blue read 192 as 192.75 before rounding.
  EXPECT_EQ(ShadeColor(0xC0C0C0, 36, false), Rgb(228, 229, 229));
  EXPECT_EQ(ShadeColor(0xC0C0C0, -36, false), Rgb(156, 157, 157));
}

TEST(ShadeColor, BlueScalingIsProportionalAndTruncatesTowardsZero) {
  // +48 raises blue by a quarter of its (256/255-scaled) value: 129 + 32.
  EXPECT_EQ(ShadeColor(Rgb(0, 0, 128), 48, true), Rgb(48, 48, 161));
  // -10 * 100 / 192 = -5.2 -> -5 (not -6).
  EXPECT_EQ(ShadeColor(Rgb(0, 0, 100), -10, true), Rgb(0, 0, 95));
  // Blue 0 stays 0 whatever the amount.
  EXPECT_EQ(ShadeColor(Rgb(10, 10, 0), 48, true), Rgb(58, 58, 0));
}

TEST(ShadeColor, ClampsEveryComponent) {
  EXPECT_EQ(ShadeColor(0xFFFFFF, 40, false), 0xFFFFFFu);
  EXPECT_EQ(ShadeColor(0x000000, -40, false), 0x000000u);
  EXPECT_EQ(ShadeColor(Rgb(250, 5, 128), 172, false), Rgb(255, 177, 255));
}

TEST(RoundHalfEven, HalvesGoToEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
}

TEST(TranslateColor, SystemColoursGoThroughTheLookupByLowByte) {
  int asked = -1;
  SystemColorLookup lookup = [&](int index) { asked = index; return Rgb(1, 2, 3); };
  EXPECT_EQ(TranslateColor(0x8000000F, lookup), Rgb(1, 2, 3));
  EXPECT_EQ(asked, 15);
  EXPECT_EQ(TranslateColor(0x80000112, lookup), Rgb(1, 2, 3));
  EXPECT_EQ(asked, 0x12);
  asked = -1;
  EXPECT_EQ(TranslateColor(0x00123456, lookup), 0x00123456u);
  EXPECT_EQ(asked, -1);
}

TEST(DeriveFaceColors, FollowTheBackAndHoverColours) {
  FaceColors c = DeriveFaceColors(Rgb(255, 255, 128), 0x8000000F, [](int) { return Rgb(0, 0, 100); });
  EXPECT_EQ(c.FaceColor, Rgb(255, 255, 161));
  // Pressed is shaded from the lightened face, not from BackColor.
  EXPECT_EQ(c.PressedFaceColor, ShadeColor(Rgb(255, 255, 161), -32, true));
  EXPECT_EQ(c.PressedFaceColor, Rgb(223, 224, 135));
  EXPECT_EQ(c.HoverFaceColor, ShadeColor(Rgb(0, 0, 100), 48, true));
  EXPECT_EQ(c.CheckedFaceColor, Rgb(223, 224, 214));
}

TEST(BuildGradientColors, CountsAndEnds) {
  EXPECT_TRUE(BuildGradientColors(0, 1, 2).empty());
  EXPECT_EQ(BuildGradientColors(1, 0x123456, 0xFFFFFF), std::vector<Rgb32>{0x123456});
  EXPECT_EQ(BuildGradientColors(2, 0, 0xFFFFFF), (std::vector<Rgb32>{0, 0xFFFFFF}));
  EXPECT_EQ(BuildGradientColors(3, Rgb(0, 0, 0), Rgb(200, 0, 0)),
            (std::vector<Rgb32>{Rgb(0, 0, 0), Rgb(100, 0, 0), Rgb(200, 0, 0)}));
}

TEST(BuildGradientColors, StepsOnTheScaledComponentsAndTruncates) {
  // Colour 0 is the first colour itself; the rest start from green and blue
  // on the 256/255 scale, so a flat grey gradient drifts by one.
  std::vector<Rgb32> flat = BuildGradientColors(4, Rgb(128, 128, 128), Rgb(128, 128, 128));
  EXPECT_EQ(flat[0], Rgb(128, 128, 128));
  for (std::size_t k = 1; k < flat.size(); ++k) {
    EXPECT_EQ(flat[k] & 0xFF, 128u);
    EXPECT_GE((flat[k] >> 8) & 0xFF, 128u);
    EXPECT_LE((flat[k] >> 8) & 0xFF, 129u);
  }
  std::vector<Rgb32> ramp = BuildGradientColors(100, 0x000000, 0xFFFFFF);
  ASSERT_EQ(ramp.size(), 100u);
  for (std::size_t k = 1; k < ramp.size(); ++k) {
    EXPECT_GE(ramp[k] & 0xFF, ramp[k - 1] & 0xFF);
    EXPECT_GE((ramp[k] >> 16) & 0xFF, (ramp[k - 1] >> 16) & 0xFF);
  }
  EXPECT_GE(ramp.back() & 0xFF, 254u);
  EXPECT_EQ((ramp.back() >> 8) & 0xFF, 255u);  // 256 on the scale, clamped
}

}  // namespace
}  // namespace orv::buttons
