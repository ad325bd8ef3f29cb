// Event sequences as the container sees them, driven the way the host
// delivers its events (the host raises Click only for a release over the button).
#include <gtest/gtest.h>

#include "buttons/tests/fake_button_host.h"

namespace orv::buttons::test {
namespace {

using Log = std::vector<std::string>;
constexpr WindowRef kOwn = 0x100;
constexpr WindowRef kForm = 0x10;

struct InputTest : ::testing::TestWithParam<std::int32_t> {
  FakeDesktop desk;
  Rig rig{desk, kOwn, kForm};
  KwButton& b = rig.button;
  Log& log = rig.events.log;
  void SetUp() override {
    b.InitProperties();
    b.setMode(GetParam());
    log.clear();
  }
  void leftClick(float x = 5, float y = 6) {
    b.MouseDown(1, 0, x, y);
    b.MouseUp(1, 0, x, y);
    b.Click();
  }
  bool toggles() const { return GetParam() != ModeCommandButton; }
};

TEST_P(InputTest, LeftPressAndReleaseOverTheButton) {
  leftClick();
  EXPECT_EQ(log, (Log{"MouseDown(1,0,5,6)", "MouseUp(1,0,5,6)", "Click"}));
  EXPECT_FALSE(b.nStateFlags() & StatePressed);
  EXPECT_FALSE(b.bMouseHeld());
  EXPECT_FALSE(rig.host.captured);
  EXPECT_EQ(b.Value(), toggles());
}

TEST_P(InputTest, DragOutAndReleaseOutsideRaisesNoClick) {
  desk.underCursor = kOwn;
  b.MouseMove(0, 0, 5, 5);  // hover starts
  b.MouseDown(1, 0, 5, 5);
  EXPECT_TRUE(rig.host.captured);
  desk.underCursor = 0;
  b.TrackMouseLeave(HoverTimerId);
  b.MouseMove(1, 0, -20, 5);  // captured: outside, no new hover
  b.MouseUp(1, 0, -20, 5);    // the host delivers no Click here
  EXPECT_EQ(log, (Log{"MouseOnButton(True)", "MouseDown(1,0,5,5)", "MouseOnButton(False)", "MouseUp(1,0,-20,5)"}));
  EXPECT_FALSE(b.Value());
  EXPECT_FALSE(rig.host.captured);
}

TEST_P(InputTest, ACaptureTakenMidPressForgetsThePress) {
  b.MouseDown(1, 0, 5, 5);
  EXPECT_TRUE(b.nStateFlags() & StatePressed);
  rig.renderer.paints = 0;
  b.CaptureLost();  // a modal box opened, or another window took the pointer
  EXPECT_FALSE(b.nStateFlags() & StatePressed);
  EXPECT_FALSE(b.bMouseHeld());
  EXPECT_EQ(rig.renderer.paints, 1);  // drawn up again at once
  EXPECT_FALSE(b.MouseUp(1, 0, 5, 5));  // the later release over the button is no click
  EXPECT_FALSE(b.Value());
  // The next press is a press like any other.
  b.MouseDown(1, 0, 5, 5);
  EXPECT_TRUE(b.MouseUp(1, 0, 5, 5));
  // A capture lost with no press held changes nothing.
  rig.renderer.paints = 0;
  b.CaptureLost();
  EXPECT_EQ(rig.renderer.paints, 0);
}

TEST_P(InputTest, LeftDoubleClickClicksOnce) {
  rig.host.cursor = {7, 8};
  leftClick();
  b.DblClick();
  b.MouseUp(1, 0, 7, 8);
  EXPECT_EQ(log, (Log{"MouseDown(1,0,5,6)", "MouseUp(1,0,5,6)", "Click", "DoubleClick(1)", "MouseDown(1,0,7,8)",
                      "MouseUp(1,0,7,8)"}));
  EXPECT_EQ(b.Value(), toggles());  // a check box toggles once
  EXPECT_FALSE(b.nStateFlags() & StatePressed);
}

TEST_P(InputTest, RightClickRaisesNoClick) {
  b.MouseDown(2, 0, 1, 1);
  b.MouseUp(2, 0, 1, 1);
  b.Click();  // the host's click for the right button
  EXPECT_EQ(log, (Log{"MouseDown(2,0,1,1)", "MouseUp(2,0,1,1)"}));
  EXPECT_FALSE(b.Value());
  EXPECT_FALSE(rig.host.captured);
  EXPECT_EQ(b.nStateFlags() & StatePressed, 0);
}

TEST_P(InputTest, RightDoubleClick) {
  rig.host.cursor = {2, 3};
  b.MouseDown(2, 0, 2, 3);
  b.MouseUp(2, 0, 2, 3);
  b.Click();
  b.DblClick();
  b.MouseUp(2, 0, 2, 3);
  EXPECT_EQ(log, (Log{"MouseDown(2,0,2,3)", "MouseUp(2,0,2,3)", "DoubleClick(2)", "MouseDown(1,0,2,3)",
                      "MouseUp(2,0,2,3)"}));
  EXPECT_EQ(b.nStateFlags() & StatePressed, 0);  // no state from the synthetic MouseDown
  EXPECT_FALSE(b.Value());
}

TEST_P(InputTest, SpaceBarHeldRepeatsKeyDownAndClicksOnce) {
  int paints = rig.renderer.paints;
  b.KeyDown(32, 0);
  b.KeyDown(32, 0);
  b.KeyDown(32, 0);
  EXPECT_EQ(rig.renderer.paints, paints + 1);  // pressed and drawn once
  EXPECT_TRUE(b.nStateFlags() & StatePressed);
  EXPECT_FALSE(b.nStateFlags() & StateMouseOver);  // no hover timer runs
  b.KeyUp(32, 0);
  if (toggles())
    EXPECT_EQ(log, (Log{"KeyDown(32,0)", "KeyDown(32,0)", "KeyDown(32,0)", "KeyUp(32,0)", "Click"}));
  else
    EXPECT_EQ(log, (Log{"KeyDown(32,0)", "KeyDown(32,0)", "KeyDown(32,0)", "Click", "KeyUp(32,0)"}));
  EXPECT_EQ(b.Value(), toggles());
}

TEST_P(InputTest, ArrowKeysGoToTheContainer) {
  b.KeyDown(37, 0);
  b.KeyDown(38, 0);
  b.KeyDown(39, 0);
  b.KeyDown(40, 0);
  b.KeyUp(39, 0);
  EXPECT_EQ(desk.posted, (std::vector<std::string>{"WM_KEYDOWN(16,37,0x4B0001)", "WM_KEYDOWN(16,38,0x480001)",
                                                   "WM_KEYDOWN(16,39,0x4D0001)", "WM_KEYDOWN(16,40,0x500001)"}));
  // An option button reached by the arrow selects itself on the release.
  if (GetParam() == ModeOptionButton) EXPECT_EQ(log, Log{"Click"});
  else EXPECT_TRUE(log.empty());
}

TEST_P(InputTest, OtherKeysPassThrough) {
  b.KeyDown(16, 1);
  b.KeyDown(65, 1);
  b.KeyPress(97);
  b.KeyUp(65, 1);
  b.KeyUp(16, 0);  // a Shift release raises nothing
  b.KeyUp(32, 0);  // a space release without its press is just a key
  EXPECT_EQ(log, (Log{"KeyDown(16,1)", "KeyDown(65,1)", "KeyPress(97)", "KeyUp(65,1)", "KeyUp(32,0)"}));
}

TEST_P(InputTest, AccessKeysEnterAndEscape) {
  b.AccessKeyPress('g');
  b.AccessKeyPress(13);
  b.AccessKeyPress(27);
  if (toggles()) EXPECT_EQ(log, Log{"Click"});  // Enter and Escape do nothing on toggles
  else EXPECT_EQ(log, (Log{"Click", "Click", "Click"}));
}

INSTANTIATE_TEST_SUITE_P(Modes, InputTest, ::testing::Values(ModeCommandButton, ModeCheckBox, ModeOptionButton),
                         [](const auto& info) {
                           return std::string(info.param == 0 ? "Command" : info.param == 1 ? "CheckBox" : "Option");
                         });

struct HoverTest : ::testing::Test {
  FakeDesktop desk;
  Rig rig{desk, kOwn, kForm};
  KwButton& b = rig.button;
  Log& log = rig.events.log;
  void SetUp() override {
    b.InitProperties();
    rig.events.recordMoves = true;
  }
};

TEST_F(HoverTest, StartsOnceAndEndsWhenTheCursorLeaves) {
  desk.underCursor = kOwn;
  b.MouseMove(0, 0, 3, 3);
  b.MouseMove(0, 0, 4, 3);
  EXPECT_EQ(log, (Log{"MouseOnButton(True)", "MouseMove(0,0,3,3)", "MouseMove(0,0,4,3)"}));
  EXPECT_EQ(rig.host.timers, (std::map<int, int>{{237, 50}}));
  EXPECT_EQ(desk.prop(kOwn, "kw_ClassID"), reinterpret_cast<std::intptr_t>(&b));
  EXPECT_EQ(desk.prop(kOwn, "kw_TimerID"), 237);
  EXPECT_TRUE(b.bHoverTimer());
  EXPECT_TRUE(b.nStateFlags() & StateMouseOver);
  b.TrackMouseLeave(237);  // still over: nothing
  EXPECT_TRUE(b.bHoverTimer());
  desk.underCursor = 0x999;  // e.g. a tooltip over the button
  b.TrackMouseLeave(237);
  EXPECT_EQ(log.back(), "MouseOnButton(False)");
  EXPECT_TRUE(rig.host.timers.empty());
  EXPECT_FALSE(b.bHoverTimer());
  EXPECT_FALSE(b.nStateFlags() & StateMouseOver);
}

TEST_F(HoverTest, MoveOutsideWhileCapturedDoesNotStart) {
  b.MouseMove(1, 0, -1, 5);
  b.MouseMove(1, 0, 5, 34);
  EXPECT_EQ(log, (Log{"MouseMove(1,0,-1,5)", "MouseMove(1,0,5,34)"}));
  EXPECT_FALSE(b.bHoverTimer());
  b.MouseMove(1, 0, 89, 33);  // the far edge still counts as over
  EXPECT_TRUE(b.bHoverTimer());
}

TEST_F(HoverTest, DragOutAndBackPushesTheFaceAgain) {
  desk.underCursor = kOwn;
  b.MouseMove(0, 0, 5, 5);
  b.MouseDown(1, 0, 5, 5);
  desk.underCursor = 0;
  b.TrackMouseLeave(237);
  EXPECT_FALSE(b.bMouseHeld());  // face lifts
  desk.underCursor = kOwn;
  b.MouseMove(1, 0, 6, 6);
  EXPECT_TRUE(b.bMouseHeld());
  EXPECT_TRUE(b.nStateFlags() & StatePressed);
  Log onButton;
  for (auto& e : log)
    if (e.rfind("MouseOnButton", 0) == 0) onButton.push_back(e);
  EXPECT_EQ(onButton, (Log{"MouseOnButton(True)", "MouseOnButton(False)", "MouseOnButton(True)"}));
}

TEST_F(HoverTest, SpaceShowsThePointerLookOnlyWhileHovering) {
  desk.underCursor = kOwn;
  b.MouseMove(0, 0, 5, 5);
  b.KeyDown(32, 0);
  EXPECT_TRUE(b.nStateFlags() & StateMouseOver);
}

TEST_F(HoverTest, TeardownStopsTheTimerAndForgetsTheAddress) {
  desk.underCursor = kOwn;
  b.MouseMove(0, 0, 5, 5);
  b.Terminate();
  EXPECT_TRUE(rig.host.timers.empty());
  EXPECT_FALSE(desk.has(kOwn, "kw_ClassID"));
  EXPECT_EQ(rig.renderer.calls.back(), "Release");
  int paints = rig.renderer.paints;
  b.Refresh();
  EXPECT_EQ(rig.renderer.paints, paints);
}

TEST(GotFocusTest, FirstOptionToGetFocusInAnEmptyGroupSelectsItself) {
  FakeDesktop desk;
  Rig a(desk, 1, kForm), c(desk, 2, kForm);
  for (Rig* r : {&a, &c}) {
    r->button.InitProperties();
    r->button.setMode(ModeOptionButton);
  }
  a.button.GotFocus();
  EXPECT_TRUE(a.button.Value());
  EXPECT_EQ(a.events.log, Log{"Click"});
  c.button.GotFocus();  // the group has a selection: nothing changes
  EXPECT_FALSE(c.button.Value());
  EXPECT_TRUE(c.events.log.empty());
  a.button.GotFocus();
  EXPECT_EQ(a.events.log, Log{"Click"});
}

TEST(ClickTest, SelectedOptionStaysSelectedAndSilent) {
  FakeDesktop desk;
  Rig a(desk, 1, kForm), c(desk, 2, kForm);
  for (Rig* r : {&a, &c}) {
    r->button.InitProperties();
    r->button.setMode(ModeOptionButton);
  }
  a.button.MouseDown(1, 0, 1, 1);
  a.button.MouseUp(1, 0, 1, 1);
  a.button.Click();
  c.button.MouseDown(1, 0, 1, 1);
  c.button.MouseUp(1, 0, 1, 1);
  c.button.Click();
  EXPECT_FALSE(a.button.Value());
  EXPECT_TRUE(c.button.Value());
  c.events.log.clear();
  c.button.MouseDown(1, 0, 1, 1);
  c.button.MouseUp(1, 0, 1, 1);
  c.button.Click();
  EXPECT_TRUE(c.button.Value());
  EXPECT_EQ(c.events.log, (Log{"MouseDown(1,0,1,1)", "MouseUp(1,0,1,1)"}));
}

TEST(OleEventsTest, PassedThrough) {
  FakeDesktop desk;
  Rig r(desk, 1, kForm);
  std::int32_t effect = 3;
  r.button.OLECompleteDrag(effect);
  EXPECT_EQ(r.events.log, Log{"OLECompleteDrag(3)"});
}

}  // namespace
}  // namespace orv::buttons::test
