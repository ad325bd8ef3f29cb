#include <gtest/gtest.h>

#include "buttons/tests/fake_button_host.h"

namespace orv::buttons::test {
namespace {

constexpr WindowRef kOwn = 0x100;
constexpr WindowRef kForm = 0x10;

struct PropertiesTest : ::testing::Test {
  FakeDesktop desk;
  Rig rig{desk, kOwn, kForm};
  KwButton& b = rig.button;
  FakeButtonHost& host = rig.host;
  void SetUp() override { b.InitProperties(); }
  void designTime() { host.userMode = false; }
};

TEST_F(PropertiesTest, CreationDefaults) {
  EXPECT_EQ(b.Caption(), "kwButtons_H1");
  EXPECT_EQ(host.accessKeys(), "");
  EXPECT_EQ(b.ButtonStyle(), 2);
  EXPECT_EQ(b.CaptionAlign(), CaptionCenter);
  EXPECT_TRUE(b.ShowFocusRect());
  EXPECT_EQ(b.HoverForeColor(), kSysButtonText);
  EXPECT_EQ(b.HoverBackColor(), kSysButtonFace);
  EXPECT_EQ(b.BackColor(), kSysButtonFace);  // unresolved at creation
  EXPECT_EQ(b.GradientColor(), 0u);
  EXPECT_EQ(b.HoverColorLocks(), LockBoth);
  EXPECT_EQ(b.Mode(), ModeCommandButton);
  EXPECT_EQ(b.PictureSizePixels(), 0);
  EXPECT_EQ(b.PictureSize(), Picture16);  // first use makes it 16
  EXPECT_EQ(b.PictureSizePixels(), 16);
  EXPECT_EQ(host.tag(), std::to_string(kForm));
  EXPECT_EQ(b.ContainerBackColor(), host.translateColor(0x8000000F));
  EXPECT_EQ(host.changedKeys,
            (std::vector<std::string>{"BackStyle", "Caption", "CapAlign", "Focus", "cFHover", "cBHover"}));
}

TEST_F(PropertiesTest, OutOfRangeValuesAreIgnoredSilently) {
  host.changedKeys.clear();
  for (int v : {0, 1, 3, 7, -1}) b.setButtonStyle(v);
  b.setMode(3);
  b.setMode(-1);
  b.setCaptionAlign(3);
  b.setCaptionStyle(-1);
  b.setButtonShape(7);
  b.setPictureAlign(6);
  b.setPictureSize(5);
  b.setPictureSize(7);
  b.setGradientMode(5);
  EXPECT_EQ(b.ButtonStyle(), 2);
  EXPECT_EQ(b.Mode(), 0);
  EXPECT_EQ(b.CaptionAlign(), 2);
  EXPECT_EQ(b.CaptionStyle(), 0);
  EXPECT_EQ(b.ButtonShape(), 0);
  EXPECT_EQ(b.PictureAlign(), 0);
  EXPECT_EQ(b.PictureSizePixels(), 0);
  EXPECT_EQ(b.GradientMode(), 0);
  EXPECT_TRUE(host.changedKeys.empty());
  EXPECT_TRUE(host.messages.empty());
  b.setButtonStyle(2);
  EXPECT_EQ(host.changedKeys, std::vector<std::string>{"BackStyle"});
}

TEST_F(PropertiesTest, PictureSizeStoresPixels) {
  b.setPictureSize(PictureStretch);
  EXPECT_EQ(b.PictureSizePixels(), 40);
  EXPECT_EQ(b.PictureSize(), PictureStretch);
  b.setPictureSize(PictureFit);
  EXPECT_EQ(b.PictureSizePixels(), 48);
}

TEST_F(PropertiesTest, ValueTrueOnCommandButtonIsRefused) {
  b.setValue(true);
  EXPECT_FALSE(b.Value());
  EXPECT_TRUE(host.messages.empty());  // run time: silent
  designTime();
  b.setValue(true);
  EXPECT_FALSE(b.Value());
  EXPECT_EQ(host.messages, std::vector<std::string>{"This property is not applicable for command button modes."});
  b.setMode(ModeCheckBox);
  b.setValue(true);
  EXPECT_TRUE(b.Value());
  b.setMode(ModeCommandButton);  // back to a command button clears it
  EXPECT_FALSE(b.Value());
}

TEST_F(PropertiesTest, CaptionAlignRefusedUnderTopOrBottomPicture) {
  b.setPictureAlign(PictureTopCenter);
  b.setCaptionAlign(CaptionLeft);  // no picture yet: accepted
  EXPECT_EQ(b.CaptionAlign(), CaptionLeft);
  b.setPicture(Picture{"res:kw_ajuda"});  // renderer reports 32 x 32
  b.setCaptionAlign(CaptionRight);
  EXPECT_EQ(b.CaptionAlign(), CaptionLeft);
  EXPECT_TRUE(host.messages.empty());
  designTime();
  b.setCaptionAlign(CaptionRight);
  EXPECT_EQ(b.CaptionAlign(), CaptionLeft);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            "When button images are aligned top/bottom center, \r\nbutton captions can only be center aligned");
  b.setCaptionAlign(CaptionCenter);
  EXPECT_EQ(b.CaptionAlign(), CaptionCenter);
  b.setPictureAlign(PictureLeftEdge);
  b.setCaptionAlign(CaptionRight);
  EXPECT_EQ(b.CaptionAlign(), CaptionRight);
}

TEST_F(PropertiesTest, CenteredPictureAndParallelogramForceCenteredCaption) {
  b.setCaptionAlign(CaptionLeft);
  b.setPictureAlign(PictureBottomCenter);
  EXPECT_EQ(b.CaptionAlign(), CaptionCenter);
  b.setPictureAlign(PictureLeftEdge);
  b.setCaptionAlign(CaptionRight);
  rig.renderer.paints = 0;
  b.setButtonShape(ShapeParallelogram);
  EXPECT_EQ(b.CaptionAlign(), CaptionCenter);
  EXPECT_EQ(rig.renderer.paints, 1);  // delayed, then one redraw
  EXPECT_FALSE(b.bDelayDrawing());
}

TEST(AccessKeyTest, DerivedFromTheLastSingleAmpersand) {
  EXPECT_EQ(AccessKeyOf("Gravar"), std::nullopt);
  EXPECT_EQ(AccessKeyOf("&Sair"), "S");
  EXPECT_EQ(AccessKeyOf("Sa&ir"), "i");
  EXPECT_EQ(AccessKeyOf("A && B"), std::nullopt);
  EXPECT_EQ(AccessKeyOf("&A && &B"), "B");
  EXPECT_EQ(AccessKeyOf("Fim&"), "");
  EXPECT_EQ(AccessKeyOf("&&&x"), "x");
  EXPECT_EQ(AccessKeyOf("&\xC3\xA1udio"), "\xC3\xA1");  // a whole UTF-8 character
}

TEST_F(PropertiesTest, CaptionSetsTheHostAccessKey) {
  b.setCaption("&x marks");
  EXPECT_EQ(host.accessKeys(), "x");
  b.setCaption("Tom && Jerry");  // no single "&": the old key stays
  EXPECT_EQ(host.accessKeys(), "x");
  b.setCaption("End&");
  EXPECT_EQ(host.accessKeys(), "");
  EXPECT_EQ(b.Caption(), "End&");
}

TEST_F(PropertiesTest, HoverForeColorUnlocksTheCaptionColour) {
  b.setHoverForeColor(0x0000FF);
  EXPECT_EQ(b.HoverColorLocks(), LockBackColor);
  b.setForeColor(0x00FF00);
  EXPECT_EQ(b.HoverForeColor(), 0x0000FFu);
  b.setHoverColorLocks(LockForeColor);  // relock copies at once
  EXPECT_EQ(b.HoverForeColor(), 0x00FF00u);
  b.setHoverForeColor(0x123456);
  EXPECT_EQ(b.HoverColorLocks(), LockNone);
}

TEST_F(PropertiesTest, LockedForeColourFollowsForeColor) {
  b.setForeColor(0x0000AA);
  EXPECT_EQ(b.HoverForeColor(), 0x0000AAu);
  EXPECT_EQ(b.HoverColorLocks(), LockBoth);
}

TEST_F(PropertiesTest, BackColorLockTransitions) {
  b.setBackColor(Rgb(255, 255, 128));
  EXPECT_EQ(b.BackColor(), Rgb(255, 255, 128));
  EXPECT_EQ(b.HoverBackColor(), Rgb(255, 255, 128));
  EXPECT_EQ(b.HoverColorLocks(), LockBoth);
  // A system colour: the stored value is resolved, the pushed hover colour is
  // not, so the face colour unlocks itself.
  b.setBackColor(0x8000000F);
  EXPECT_EQ(b.BackColor(), host.translateColor(0x8000000F));
  EXPECT_EQ(b.HoverBackColor(), 0x8000000Fu);
  EXPECT_EQ(b.HoverColorLocks(), LockForeColor);
  b.setBackColor(Rgb(1, 2, 3));  // unlocked: hover stays
  EXPECT_EQ(b.HoverBackColor(), 0x8000000Fu);
}

TEST_F(PropertiesTest, SystemBackColorWhenHoverAlreadyMatchesKeepsTheLock) {
  ASSERT_EQ(b.HoverBackColor(), 0x8000000Fu);
  b.setBackColor(0x8000000F);
  EXPECT_EQ(b.HoverColorLocks(), LockBoth);
}

TEST_F(PropertiesTest, GradientDrivesTheLockedHoverBackColor) {
  b.setBackColor(Rgb(10, 20, 30));
  b.setGradientColor(Rgb(200, 0, 0));
  EXPECT_EQ(b.HoverBackColor(), Rgb(10, 20, 30));  // no gradient yet
  b.setGradientMode(GradientTopToBottom);
  EXPECT_EQ(b.HoverBackColor(), Rgb(200, 0, 0));
  b.setGradientColor(Rgb(0, 200, 0));
  EXPECT_EQ(b.HoverBackColor(), Rgb(0, 200, 0));
  EXPECT_EQ(b.HoverColorLocks(), LockBoth);
  // BackColor pushes the gradient colour, which the hover colour already is.
  b.setBackColor(Rgb(5, 5, 5));
  EXPECT_EQ(b.HoverBackColor(), Rgb(0, 200, 0));
  EXPECT_EQ(b.HoverColorLocks(), LockBoth);
  b.setHoverColorLocks(LockBackColor);
  EXPECT_EQ(b.HoverBackColor(), Rgb(0, 200, 0));
  b.setGradientMode(GradientNone);
  EXPECT_EQ(b.HoverBackColor(), Rgb(5, 5, 5));
}

TEST_F(PropertiesTest, HoverBackColorUnlocksTheFaceColour) {
  b.setBackColor(Rgb(9, 9, 9));
  b.setHoverColorLocks(LockBackColor);
  b.setHoverBackColor(Rgb(1, 1, 1));
  EXPECT_EQ(b.HoverColorLocks(), LockNone);
}

TEST_F(PropertiesTest, ResetDefaultColorsOnlyAtDesignTime) {
  b.setBackColor(Rgb(1, 2, 3));
  b.setForeColor(Rgb(4, 5, 6));
  b.setGradientMode(GradientLeftToRight);
  b.setHoverColorLocks(LockNone);
  b.setResetDefaultColors(true);
  EXPECT_EQ(b.BackColor(), Rgb(1, 2, 3));
  EXPECT_FALSE(b.ResetDefaultColors());
  designTime();
  b.setResetDefaultColors(false);
  EXPECT_EQ(b.BackColor(), Rgb(1, 2, 3));
  b.setResetDefaultColors(true);
  EXPECT_EQ(b.BackColor(), 0x8000000Fu);
  EXPECT_EQ(b.ForeColor(), 0x80000012u);
  EXPECT_EQ(b.GradientColor(), 0x8000000Fu);
  EXPECT_EQ(b.GradientMode(), GradientNone);
  EXPECT_EQ(b.HoverColorLocks(), LockBoth);
  EXPECT_EQ(b.HoverBackColor(), 0x8000000Fu);
  EXPECT_EQ(b.HoverForeColor(), 0x80000012u);
  EXPECT_FALSE(b.ResetDefaultColors());
}

TEST_F(PropertiesTest, ShowFocusRectAndTheDefaultLook) {
  host.displayAsDefault = true;
  b.AmbientChanged("DISPLAYASDEFAULT");
  EXPECT_TRUE(b.nStateFlags() & StateDefaultLook);
  designTime();
  b.setShowFocusRect(false);
  EXPECT_TRUE(b.nStateFlags() & StateDefaultLook);  // design time keeps it and says why
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            "The focus rectangle may appear on default buttons ONLY while in design mode, \r\n"
            "but will not appear when the form is running.");
  host.userMode = true;
  b.setShowFocusRect(false);
  EXPECT_FALSE(b.nStateFlags() & StateDefaultLook);
  b.AmbientChanged("displayasdefault");  // ShowFocusRect False: never the default look
  EXPECT_FALSE(b.nStateFlags() & StateDefaultLook);
}

TEST_F(PropertiesTest, MouseIconSetsTheCustomPointer) {
  host.changedKeys.clear();
  b.setMouseIcon(Picture{"res:hand.cur"});
  EXPECT_EQ(b.MousePointer(), PointerCustom);
  EXPECT_EQ(host.changedKeys, (std::vector<std::string>{"mPointer", "mIcon"}));
  b.setMouseIcon(Picture{"c:\\photo.bmp"});  // the host refuses it
  EXPECT_EQ(b.MouseIcon(), Picture{"res:hand.cur"});
  EXPECT_TRUE(host.messages.empty());
  designTime();
  b.setMouseIcon(Picture{"c:\\photo.bmp"});
  EXPECT_EQ(host.messages, std::vector<std::string>{"Select .ico Or .cur Files Only: Invalid property value"});
  host.changedKeys.clear();
  b.setMousePointer(0);
  b.setMouseIcon(Picture{});
  EXPECT_EQ(b.MousePointer(), 0);
  EXPECT_EQ(host.changedKeys, std::vector<std::string>{"mPointer"});
}

TEST_F(PropertiesTest, FontStyleBits) {
  b.setFontStyle(FontBold | FontUnderline | 1 | 16);
  EXPECT_TRUE(b.Font().bold);
  EXPECT_FALSE(b.Font().italic);
  EXPECT_TRUE(b.Font().underline);
  EXPECT_EQ(b.FontStyle(), FontBold | FontUnderline);
}

TEST_F(PropertiesTest, EnabledReportsOnlyChanges) {
  host.changedKeys.clear();
  b.setEnabled(true);
  EXPECT_TRUE(host.changedKeys.empty());
  b.setEnabled(false);
  EXPECT_FALSE(b.Enabled());
  EXPECT_EQ(host.changedKeys, std::vector<std::string>{"Enabled"});
}

TEST_F(PropertiesTest, DelayDrawingSuppressesEveryRedraw) {
  b.DelayDrawing(true);
  rig.renderer.paints = 0;
  b.setCaption("x");
  b.setBackColor(Rgb(1, 1, 1));
  b.Refresh();
  b.Resize();
  EXPECT_EQ(rig.renderer.paints, 0);
  b.DelayDrawing(false);
  EXPECT_EQ(rig.renderer.paints, 1);
  b.DelayDrawing(true);
  b.Paint();  // a paint lifts the delay
  EXPECT_EQ(rig.renderer.paints, 2);
  EXPECT_FALSE(b.bDelayDrawing());
}

TEST_F(PropertiesTest, ResizeRebuildsThenDraws) {
  rig.renderer.calls.clear();
  b.Resize();
  EXPECT_EQ(rig.renderer.calls, (std::vector<std::string>{"Region", "Surface", "Layout", "Paint"}));
}

TEST_F(PropertiesTest, AmbientBackColorRedrawsOnlyEllipses) {
  host.ambientBack = Rgb(1, 2, 3);
  rig.renderer.paints = 0;
  b.AmbientChanged("BackColor");
  EXPECT_EQ(b.ContainerBackColor(), Rgb(1, 2, 3));
  EXPECT_EQ(rig.renderer.paints, 0);
  b.setButtonShape(ShapeOvalRim);
  rig.renderer.paints = 0;
  b.AmbientChanged("backcolor");
  EXPECT_EQ(rig.renderer.paints, 1);
}

}  // namespace
}  // namespace orv::buttons::test
