// Real input through the window system: SendInput to a top-level window
// holding buttons, the container's message loop as the program runs it, and
// the events each button raised, in order.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>

#include "buttons/instances.h"
#include "buttons/tests/fake_button_host.h"
#include "buttons/win/kw_button_control.h"
#include "buttons/win/tests/test_window.h"

namespace orv::buttons::win {
namespace {

using Log = std::vector<std::string>;
using test::RecordingEvents;

// "MouseDown(1,0,44,16)" -> "MouseDown(1,0)": positions depend on the screen.
Log WithoutPositions(const Log& log) {
  Log out;
  for (const auto& e : log) {
    if (e.rfind("MouseMove", 0) == 0) continue;
    size_t first = e.find(',');
    size_t second = first == std::string::npos ? first : e.find(',', first + 1);
    out.push_back(second == std::string::npos ? e : e.substr(0, second) + ")");
  }
  return out;
}

Log Without(const Log& log, const std::string& prefix) {
  Log out;
  for (const auto& e : log)
    if (e.rfind(prefix, 0) != 0) out.push_back(e);
  return out;
}

class ControlTest : public TestWindow {
 protected:
  ControlTest() : TestWindow({30, 2, true}) {}
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(openForm(L"kw test", 80)); }
  void TearDown() override {
    closeForm();
    pump(30);
  }

  KwButtonControl* add(int id, int x, int y, const std::string& settings, RecordingEvents* ev, int w = 100,
                       int h = 40) {
    return place(id, x, y, w, h, settings, ev, [this] { ++clicks_; });
  }

  POINT centre(KwButtonControl* c) {
    RECT r;
    ::GetWindowRect(c->window(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  void mouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    ::SendInput(1, &in, sizeof in);
    pump(30);
  }
  void click(DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    mouse(down);
    mouse(up);
  }
  void key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof in);
    pump(30);
  }
  void press(WORD vk) {
    key(vk, false);
    key(vk, true);
  }
  void focus(KwButtonControl* c) {
    ::SetFocus(c->window());
    pump(30);
  }

  int clicks_ = 0;
};

constexpr char kCommand[] = "caption=&Gravar\nmode=0\n";
constexpr char kCheck[] = "caption=Check\nmode=1\n";
constexpr char kOption[] = "caption=Option\nmode=2\n";

TEST_F(ControlTest, LeftClickOnACommandButton) {
  RecordingEvents ev;
  KwButtonControl* c = add(10, 20, 20, kCommand, &ev);
  moveTo(centre(c));
  click();
  EXPECT_EQ(WithoutPositions(ev.log), (Log{"MouseOnButton(True)", "MouseDown(1,0)", "MouseUp(1,0)", "Click"}));
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(c->button().nStateFlags() & StatePressed, 0);
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ControlTest, LeftClickTogglesACheckBoxAndSelectsAnOption) {
  RecordingEvents evCheck, evOpt1, evOpt2;
  KwButtonControl* check = add(10, 20, 20, kCheck, &evCheck);
  KwButtonControl* opt1 = add(11, 20, 80, kOption, &evOpt1);
  KwButtonControl* opt2 = add(12, 20, 140, kOption, &evOpt2);
  moveTo(centre(check));
  click();
  EXPECT_TRUE(check->button().Value());
  EXPECT_EQ(Without(WithoutPositions(evCheck.log), "MouseOnButton"), (Log{"MouseDown(1,0)", "MouseUp(1,0)", "Click"}));
  moveTo({centre(check).x + 20, centre(check).y});  // away from the double-click box
  click();
  EXPECT_FALSE(check->button().Value());

  moveTo(centre(opt1));
  click();
  moveTo(centre(opt2));
  click();
  EXPECT_FALSE(opt1->button().Value());
  EXPECT_TRUE(opt2->button().Value());
  // The first press gives an empty group's option the focus, which selects it.
  EXPECT_EQ(Without(WithoutPositions(evOpt2.log), "MouseOnButton"), (Log{"MouseDown(1,0)", "MouseUp(1,0)", "Click"}));
  evOpt2.log.clear();
  moveTo({centre(opt2).x + 20, centre(opt2).y});
  click();  // already selected: no Click
  EXPECT_EQ(Without(WithoutPositions(evOpt2.log), "MouseOnButton"), (Log{"MouseDown(1,0)", "MouseUp(1,0)"}));
  EXPECT_TRUE(opt2->button().Value());
}

TEST_F(ControlTest, DoubleClickClicksOnce) {
  RecordingEvents ev, evCheck;
  KwButtonControl* c = add(10, 20, 20, kCommand, &ev);
  KwButtonControl* check = add(11, 20, 80, kCheck, &evCheck);
  const Log expected{"MouseDown(1,0)", "MouseUp(1,0)", "Click", "DoubleClick(1)", "MouseDown(1,0)", "MouseUp(1,0)"};
  moveTo(centre(c));
  click();
  click();
  EXPECT_EQ(Without(WithoutPositions(ev.log), "MouseOnButton"), expected);
  moveTo(centre(check));
  click();
  click();
  EXPECT_EQ(Without(WithoutPositions(evCheck.log), "MouseOnButton"), expected);
  EXPECT_TRUE(check->button().Value());
}

TEST_F(ControlTest, RightClicksRaiseNoClick) {
  RecordingEvents ev;
  KwButtonControl* c = add(10, 20, 20, kCheck, &ev);
  moveTo(centre(c));
  click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  EXPECT_EQ(Without(WithoutPositions(ev.log), "MouseOnButton"), (Log{"MouseDown(2,0)", "MouseUp(2,0)"}));
  ::Sleep(::GetDoubleClickTime() + 50);
  ev.log.clear();
  click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
  EXPECT_EQ(Without(WithoutPositions(ev.log), "MouseOnButton"),
            (Log{"MouseDown(2,0)", "MouseUp(2,0)", "DoubleClick(2)", "MouseDown(1,0)", "MouseUp(2,0)"}));
  EXPECT_FALSE(c->button().Value());
  EXPECT_EQ(clicks_, 0);
}

TEST_F(ControlTest, APressWhoseCaptureIsTakenAwayNeverClicks) {
  RecordingEvents ev;
  KwButtonControl* c = add(10, 20, 20, kCommand, &ev);
  moveTo(centre(c));
  mouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_EQ(::GetCapture(), c->window());
  ::SetCapture(form_);  // another window takes the pointer mid-press
  pump(30);
  EXPECT_EQ(c->button().nStateFlags() & StatePressed, 0);
  ::ReleaseCapture();
  mouse(MOUSEEVENTF_LEFTUP);  // released over the button all the same
  EXPECT_EQ(clicks_, 0);
  EXPECT_EQ(std::count(ev.log.begin(), ev.log.end(), "Click"), 0);
  // A modal box opened by the press: closing it and releasing clicks nothing.
  ev.log.clear();
  mouse(MOUSEEVENTF_LEFTDOWN);
  HWND box = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, form_, nullptr, nullptr, nullptr);
  ::SetCapture(box);
  ::DestroyWindow(box);
  pump(30);
  mouse(MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(clicks_, 0);
  click();  // and the button still clicks as before
  EXPECT_EQ(clicks_, 1);
}

TEST_F(ControlTest, DragOutAndReleaseOutside) {
  RecordingEvents ev;
  KwButtonControl* c = add(10, 20, 20, kCommand, &ev);
  moveTo(centre(c));
  mouse(MOUSEEVENTF_LEFTDOWN);
  moveTo({centre(c).x + 200, centre(c).y});
  pump(150);  // the hover timer notices
  mouse(MOUSEEVENTF_LEFTUP);
  EXPECT_EQ(WithoutPositions(ev.log), (Log{"MouseOnButton(True)", "MouseDown(1,0)", "MouseOnButton(False)", "MouseUp(1,0)"}));
  EXPECT_EQ(clicks_, 0);
  EXPECT_FALSE(c->button().bHoverTimer());
}

TEST_F(ControlTest, HoverStartsOnceAndEndsWhenThePointerLeaves) {
  RecordingEvents ev;
  KwButtonControl* c = add(10, 20, 20, kCommand, &ev);
  POINT p = centre(c);
  moveTo(p);
  moveTo({p.x + 3, p.y});
  moveTo({p.x + 6, p.y + 2});
  EXPECT_EQ(Without(ev.log, "MouseMove"), Log{"MouseOnButton(True)"});
  EXPECT_TRUE(c->button().bHoverTimer());
  EXPECT_EQ(::GetPropW(c->window(), L"kw_TimerID"), reinterpret_cast<HANDLE>(237));
  EXPECT_EQ(::GetPropW(c->window(), L"kw_ClassID"), reinterpret_cast<HANDLE>(&c->button()));
  moveTo({p.x + 300, p.y + 150});
  pump(120);
  EXPECT_EQ(Without(ev.log, "MouseMove"), (Log{"MouseOnButton(True)", "MouseOnButton(False)"}));
  EXPECT_FALSE(c->button().bHoverTimer());
}

TEST_F(ControlTest, SpaceBar) {
  RecordingEvents ev, evCheck;
  KwButtonControl* c = add(10, 20, 20, kCommand, &ev);
  KwButtonControl* check = add(11, 20, 80, kCheck, &evCheck);
  focus(c);
  key(VK_SPACE, false);
  key(VK_SPACE, false);  // auto-repeat
  EXPECT_TRUE(c->button().nStateFlags() & StatePressed);
  key(VK_SPACE, true);
  EXPECT_EQ(Without(ev.log, "KeyPress"), (Log{"KeyDown(32,0)", "KeyDown(32,0)", "Click", "KeyUp(32,0)"}));
  focus(check);
  press(VK_SPACE);
  EXPECT_EQ(Without(evCheck.log, "KeyPress"), (Log{"KeyDown(32,0)", "KeyUp(32,0)", "Click"}));
  EXPECT_TRUE(check->button().Value());
}

TEST_F(ControlTest, AccessKeyEnterAndEscape) {
  RecordingEvents evA, evB, evC;
  KwButtonControl* a = add(10, 20, 20, kCommand, &evA);  // "&Gravar"
  KwButtonControl* b = add(11, 20, 80, "caption=Ok\n", &evB);
  KwButtonControl* check = add(12, 20, 140, kCheck, &evC);
  SetDefaultKwButton(form_, b);
  SetCancelKwButton(form_, a);
  focus(check);
  key(VK_MENU, false);
  press('G');
  key(VK_MENU, true);
  EXPECT_EQ(Without(evA.log, "Key"), Log{"Click"});
  press(VK_RETURN);  // focus on a check box: Enter is ignored there
  EXPECT_TRUE(Without(evB.log, "Key").empty());
  EXPECT_FALSE(check->button().Value());
  ::SetFocus(form_);
  pump(30);
  press(VK_RETURN);
  EXPECT_EQ(Without(evB.log, "Key"), Log{"Click"});
  EXPECT_TRUE(b->button().nStateFlags() & StateDefaultLook);
  press(VK_ESCAPE);
  EXPECT_EQ(Without(evA.log, "Key"), (Log{"Click", "Click"}));

  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 200, 20, 100,
                                60, form_, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetFocus(edit);
  pump(30);
  press(VK_RETURN);  // the text box keeps its Enter
  EXPECT_EQ(Without(evB.log, "Key"), Log{"Click"});
}

TEST_F(ControlTest, TabbingOntoAnOptionGroup) {
  RecordingEvents evCmd, ev1, ev2;
  KwButtonControl* cmd = add(10, 20, 20, kCommand, &evCmd);
  KwButtonControl* o1 = add(11, 20, 80, kOption, &ev1);
  KwButtonControl* o2 = add(12, 20, 140, kOption, &ev2);
  focus(cmd);
  press(VK_TAB);
  EXPECT_EQ(::GetFocus(), o1->window());
  EXPECT_TRUE(o1->button().Value());
  EXPECT_EQ(Without(ev1.log, "Key"), Log{"Click"});
  press(VK_TAB);
  EXPECT_EQ(::GetFocus(), o2->window());
  EXPECT_FALSE(o2->button().Value());  // the group has its selection
  EXPECT_TRUE(Without(ev2.log, "Key").empty());
}

TEST_F(ControlTest, ArrowKeysMoveAlongTheGroupAndSelect) {
  RecordingEvents ev1, ev2;
  KwButtonControl* o1 = add(11, 20, 20, kOption, &ev1);
  KwButtonControl* o2 = add(12, 20, 80, kOption, &ev2);
  focus(o1);
  ASSERT_TRUE(o1->button().Value());
  press(VK_DOWN);
  EXPECT_EQ(::GetFocus(), o2->window());
  EXPECT_TRUE(o2->button().Value());
  EXPECT_FALSE(o1->button().Value());
  EXPECT_EQ(ev2.log, Log{"Click"});  // no KeyDown, no KeyUp
  EXPECT_EQ(ev1.log, Log{"Click"});  // from its own focus, before the arrow
  press(VK_UP);
  EXPECT_EQ(::GetFocus(), o1->window());
  EXPECT_TRUE(o1->button().Value());
}

TEST_F(ControlTest, ClickHandlerThatClosesTheWindow) {
  KwButtonControl* c = CreateKwButton(form_, 0, 20, 20, 100, 40, kCommand, [this] { ::DestroyWindow(form_); });
  ASSERT_NE(c, nullptr);
  moveTo(centre(c));
  click();
  EXPECT_FALSE(::IsWindow(form_));
  pump(150);  // no hover tick may reach the destroyed button
}

TEST_F(ControlTest, ClosingWhileHoveringStopsTheTimer) {
  RecordingEvents ev1, ev2;
  KwButtonControl* c = add(10, 20, 20, kOption, &ev1);
  add(11, 20, 80, kOption, &ev2);
  moveTo(centre(c));
  ASSERT_TRUE(c->button().bHoverTimer());
  HWND w = c->window();
  ::DestroyWindow(w);
  // The group lost the member, the window lost the button's address.
  EXPECT_EQ(::GetPropW(form_, L"kw_OptCount"), reinterpret_cast<HANDLE>(1));
  pump(150);
  EXPECT_FALSE(::IsWindow(w));
}

TEST_F(ControlTest, TheProgramsButtonsLoadTheirStoredSettings) {
  int y = 0;
  for (const ButtonInstance& inst : ButtonInstances()) {
    KwButtonControl* c = add(20, 0, y, std::string(inst.settings), nullptr, inst.width, inst.height);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->saveSettings(), inst.settings) << inst.window << "." << inst.name;
    RECT rc;
    ::GetClientRect(c->window(), &rc);
    EXPECT_EQ(rc.right, inst.width);
    ::DestroyWindow(c->window());
  }
}

TEST(DisplayCaptionTest, AmpersandsAndLineBreaks) {
  EXPECT_EQ(DisplayCaption("&Gravar"), L"Gravar");
  EXPECT_EQ(DisplayCaption("A && B||C"), L"A & B\r\nC");
  EXPECT_EQ(DisplayCaption("Fim&"), L"Fim");
}

}  // namespace
}  // namespace orv::buttons::win
