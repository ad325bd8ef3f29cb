// The face side as the model drives it: what reaches the platform, in which
// order, and what a paint reads from the button.
#include <gtest/gtest.h>

#include "buttons/button_face.h"
#include "buttons/instances.h"
#include "buttons/tests/fake_button_host.h"
#include "tests/support/recording_surface.h"

namespace orv::buttons::test {
namespace {

using Log = std::vector<std::string>;
constexpr WindowRef kOwn = 0x100;
constexpr WindowRef kForm = 0x10;

// The window system under the face: records calls; a width change resizes
// the host and delivers Resize at once, as the container does.
class FakePlatform : public FacePlatform {
 public:
  explicit FakePlatform(FakeButtonHost& host) : host_(host) {}
  KwButton* button = nullptr;

  DrawSurface& surface() override { return surface_; }
  Rgb32 systemColor(int index) override { return ClassicSystemColor(index); }
  int screenWidth() override { return 1024; }
  int screenHeight() override { return 768; }
  void refreshFont(const CaptionFont& font) override { calls.push_back("Font(" + font.name + ")"); }
  PictureInfo loadPicture(const Picture& source, int previousKind) override {
    calls.push_back("LoadPicture(" + source.source + ")");
    if (source.empty()) return {0, previousKind, 0, 0};
    return {0x1234, 1, 32, 32};
  }
  void setOuterWidth(int width) override {
    calls.push_back("Width(" + std::to_string(width) + ")");
    host_.width = width;
    if (button) button->Resize();
  }
  void applyShape(const ShapeGeometry& g) override {
    calls.push_back("Shape(" + std::to_string(g.width) + "," + std::to_string(g.LeftSlantX) + "," +
                    std::to_string(g.RightSlantX) + ")");
  }
  void resizeSurface(int width, int height, const CaptionFont& font) override {
    calls.push_back("Surface(" + std::to_string(width) + "x" + std::to_string(height) + "," + font.name + "," +
                    std::to_string(font.weight) + ")");
  }
  void showSurface(int width, int height) override {
    calls.push_back("Show(" + std::to_string(width) + "x" + std::to_string(height) + ")");
  }
  void releaseSurface() override { calls.push_back("Release"); }
  bool onScreen() override { return visible; }

  bool visible = true;
  Log calls;
  orv::test::RecordingSurface surface_;

 private:
  FakeButtonHost& host_;
};

struct FaceTest : ::testing::Test {
  FakeDesktop desk;
  FakeButtonHost host{desk, kOwn, kForm};
  RecordingEvents events;
  FakePlatform platform{host};
  ButtonFace face{button, platform};
  // Last: its teardown still reaches the face.
  KwButton button{host, &events};

  FaceTest() {
    platform.button = &button;
    button.setRenderer(&face);
  }
  void load(const std::string& settings, double w, double h) {
    host.width = w;
    host.height = h;
    button.ReadProperties(MemoryPropertyBag::fromText(settings));
  }
  int shows() const {
    return static_cast<int>(std::count_if(platform.calls.begin(), platform.calls.end(),
                                          [](const std::string& c) { return c.rfind("Show", 0) == 0; }));
  }
};

TEST_F(FaceTest, LoadingAStoredButtonRefreshesThenBuildsRegionSurfaceLayoutAndPaintsOnce) {
  const ButtonInstance* sair = FindButtonInstance("Form1", "kwButtons_H1");
  ASSERT_NE(sair, nullptr);
  load(std::string(sair->settings), sair->width, sair->height);
  EXPECT_EQ(platform.calls, (Log{"LoadPicture(res:kw_sair)", "Font(Times New Roman)", "Shape(185,0,185)",
                                 "Surface(185x33,Times New Roman,700)", "Show(185x33)"}));
  EXPECT_EQ(button.pictureWidth(), 32);

  const FaceInputs in = face.inputs();
  EXPECT_EQ(in.colors.FaceColor, DeriveFaceColors(0x008080FF, 0x008080FF, ClassicSystemColor).FaceColor);
  EXPECT_EQ(in.PictureSize, 24);
  EXPECT_EQ(in.Picture.handle, 0x1234u);
  // The full layout measured "Sair" beside a 24-pixel picture on the left edge.
  EXPECT_EQ(platform.surface_.lastMeasured, "Sair");
  EXPECT_EQ(in.PictureRect, (Rect{6, 6, 30, 27}));  // y 4 clamped to 6, bottom to H - 6
  EXPECT_EQ(in.CaptionRect.top, (33 - 16) / 2);
}

TEST_F(FaceTest, WideningASlantedButtonResizesUnderDelayedDrawing) {
  load("caption=Ok\nshape=1\n", 24, 20);
  // d = 21: 24 becomes 29. The Resize the width change caused did nothing:
  // one region, one surface, one paint, all at the new width.
  EXPECT_EQ(platform.calls, (Log{"LoadPicture()", "Font(MS Sans Serif)", "Width(29)", "Shape(29,21,29)",
                                 "Surface(29x20,MS Sans Serif,400)", "Show(29x20)"}));
  EXPECT_FALSE(button.bDelayDrawing());
  EXPECT_EQ(face.inputs().LeftSlantX, 21);

  // Wide enough already: no width change.
  platform.calls.clear();
  host.width = 26;
  button.Resize();
  EXPECT_EQ(platform.calls.front(), "Shape(26,21,26)");
}

TEST_F(FaceTest, ShapeSetterWideningGetsASurfaceOfTheNewWidthBeforeItPaints) {
  load("caption=Ok\n", 24, 20);
  platform.calls.clear();
  button.setButtonShape(ShapeParallelogram);
  // The Resize of the width change is swallowed; the paint notices the
  // bitmap no longer fits and prepares it again.
  EXPECT_EQ(platform.calls, (Log{"Width(29)", "Shape(29,21,8)", "Surface(29x20,MS Sans Serif,400)", "Show(29x20)"}));
  EXPECT_EQ(button.CaptionAlign(), CaptionCenter);
}

TEST_F(FaceTest, NothingIsPaintedWhileDrawingIsDelayed) {
  load("caption=Ok\n", 80, 24);
  const int before = shows();
  button.DelayDrawing(true);
  button.Refresh();
  button.setCaption("Outro");
  button.setBackColor(0x00FF0000);
  EXPECT_EQ(shows(), before);
  button.DelayDrawing(false);
  EXPECT_EQ(shows(), before + 1);
  EXPECT_EQ(face.inputs().colors.FaceColor, DeriveFaceColors(0x00FF0000, 0, ClassicSystemColor).FaceColor);
}

TEST_F(FaceTest, AHiddenButtonIsLaidOutButDrawnOnlyOnceItCanBeSeen) {
  platform.visible = false;
  load("caption=Ok\n", 80, 24);
  EXPECT_EQ(platform.calls, (Log{"LoadPicture()", "Font(MS Sans Serif)", "Shape(80,0,80)",
                                 "Surface(80x24,MS Sans Serif,400)"}));
  button.setCaption("Outro");
  button.Refresh();
  EXPECT_TRUE(platform.surface_.ops.empty());  // nothing drawn, not even into the bitmap

  platform.visible = true;
  button.Paint();
  EXPECT_EQ(shows(), 1);
  const auto& ops = platform.surface_.ops;
  EXPECT_TRUE(std::any_of(ops.begin(), ops.end(),
                          [](const orv::test::SurfaceOp& op) { return op.kind == orv::test::SurfaceOp::Text && op.text == "Outro"; }));
}

TEST_F(FaceTest, HoverAndPressReachTheFace) {
  load("caption=Ok\n", 80, 24);
  desk.underCursor = kOwn;
  button.MouseMove(0, 0, 5, 5);
  EXPECT_TRUE(face.inputs().bHoverTimer);
  EXPECT_EQ(face.lastReport().VisualState, VisualHot);
  button.MouseDown(1, 0, 5, 5);
  EXPECT_EQ(face.lastReport().VisualState, VisualPressed);
  EXPECT_EQ(face.lastReport().fillColor, face.kept().colors.PressedFaceColor);
  button.MouseUp(1, 0, 5, 5);
  desk.underCursor = 0;
  button.TrackMouseLeave(HoverTimerId);
  EXPECT_EQ(face.lastReport().VisualState, VisualNormal);
  EXPECT_FALSE(face.inputs().bHoverTimer);
}

TEST_F(FaceTest, PicturesComeAndGoWithTheSetting) {
  load("caption=Ok\nimage=res:kw_ler\n", 80, 24);
  EXPECT_EQ(button.pictureWidth() + button.pictureHeight(), 64);
  button.setPicture({});
  EXPECT_EQ(button.pictureWidth() + button.pictureHeight(), 0);
  EXPECT_FALSE(face.inputs().Picture.present());
}

TEST_F(FaceTest, TerminateReleasesTheSurfaceAndStopsHovering) {
  load("caption=Ok\n", 80, 24);
  desk.underCursor = kOwn;
  button.MouseMove(0, 0, 5, 5);
  ASSERT_EQ(host.timers.count(HoverTimerId), 1u);
  platform.calls.clear();
  button.Terminate();
  EXPECT_EQ(platform.calls, Log{"Release"});
  EXPECT_TRUE(host.timers.empty());
  button.Refresh();  // a late redraw after teardown paints nothing
  EXPECT_EQ(platform.calls, Log{"Release"});
}

}  // namespace
}  // namespace orv::buttons::test
