#include <gtest/gtest.h>

#include <memory>

#include "buttons/tests/fake_button_host.h"

namespace orv::buttons::test {
namespace {

constexpr WindowRef kFrameA = 0x10;
constexpr WindowRef kFrameB = 0x20;

struct OptionGroupTest : ::testing::Test {
  FakeDesktop desk;
  std::vector<std::unique_ptr<Rig>> rigs;

  KwButton& add(WindowRef container, std::int32_t mode = ModeOptionButton) {
    rigs.push_back(std::make_unique<Rig>(desk, 0x100 + rigs.size(), container));
    KwButton& b = rigs.back()->button;
    b.InitProperties();
    b.setMode(mode);
    return b;
  }
  std::intptr_t count(WindowRef w) const { return desk.prop(w, "kw_OptCount"); }
  KwButton* member(WindowRef w, int i) const {
    return reinterpret_cast<KwButton*>(desk.prop(w, "kw_Obj" + std::to_string(i)));
  }
};

TEST_F(OptionGroupTest, JoiningListsMembersInOrder) {
  KwButton& a = add(kFrameA);
  KwButton& b = add(kFrameA);
  add(kFrameA, ModeCheckBox);  // other modes stay out
  EXPECT_EQ(count(kFrameA), 2);
  EXPECT_EQ(member(kFrameA, 1), &a);
  EXPECT_EQ(member(kFrameA, 2), &b);
  a.setMode(ModeOptionButton);  // already an option button: no second entry
  EXPECT_EQ(count(kFrameA), 2);
}

TEST_F(OptionGroupTest, SelectingOneClearsTheOthers) {
  KwButton& a = add(kFrameA);
  KwButton& b = add(kFrameA);
  KwButton& c = add(kFrameA);
  a.setValue(true);
  b.setValue(true);
  EXPECT_FALSE(a.Value());
  EXPECT_TRUE(b.Value());
  EXPECT_FALSE(c.Value());
  EXPECT_TRUE(a.OptionToggle(GroupAnySelected));
  b.setValue(false);
  EXPECT_FALSE(c.OptionToggle(GroupAnySelected));
}

TEST_F(OptionGroupTest, ASelectedButtonJoiningClearsTheGroup) {
  KwButton& a = add(kFrameA);
  a.setValue(true);
  KwButton& cb = add(kFrameA, ModeCheckBox);
  cb.setValue(true);
  cb.setMode(ModeOptionButton);
  EXPECT_FALSE(a.Value());
  EXPECT_TRUE(cb.Value());
}

TEST_F(OptionGroupTest, LeavingFromTheMiddleClosesTheGap) {
  KwButton& a = add(kFrameA);
  KwButton& b = add(kFrameA);
  KwButton& c = add(kFrameA);
  b.setMode(ModeCommandButton);
  EXPECT_EQ(count(kFrameA), 2);
  EXPECT_EQ(member(kFrameA, 1), &a);
  EXPECT_EQ(member(kFrameA, 2), &c);
  EXPECT_FALSE(desk.has(kFrameA, "kw_Obj3"));
}

TEST_F(OptionGroupTest, TheOnlyMemberLeavingRemovesTheCount) {
  KwButton& a = add(kFrameA);
  a.setValue(true);
  a.setMode(ModeCheckBox);
  EXPECT_FALSE(desk.has(kFrameA, "kw_OptCount"));
  EXPECT_FALSE(desk.has(kFrameA, "kw_Obj1"));
  EXPECT_TRUE(a.Value());  // a check box keeps its value
  a.setMode(ModeCommandButton);
  EXPECT_FALSE(a.Value());
}

TEST_F(OptionGroupTest, TwoContainersAreTwoGroups) {
  KwButton& a1 = add(kFrameA);
  KwButton& a2 = add(kFrameA);
  KwButton& b1 = add(kFrameB);
  KwButton& b2 = add(kFrameB);
  a1.setValue(true);
  b2.setValue(true);
  a2.setValue(true);
  EXPECT_FALSE(a1.Value());
  EXPECT_TRUE(a2.Value());
  EXPECT_FALSE(b1.Value());
  EXPECT_TRUE(b2.Value());
  EXPECT_EQ(count(kFrameA), 2);
  EXPECT_EQ(count(kFrameB), 2);
}

TEST_F(OptionGroupTest, ClearOthersRedrawsTheClearedMember) {
  KwButton& a = add(kFrameA);
  add(kFrameA).setValue(true);
  int before = rigs[0]->renderer.paints;
  a.OptionToggle(GroupClearOthers);  // a is not selected: nothing to clear
  EXPECT_EQ(rigs[0]->renderer.paints, before);
  a.setValue(true);
  EXPECT_FALSE(rigs[1]->button.Value());
  EXPECT_EQ(rigs[1]->host.changedKeys.back(), "Value");
}

TEST_F(OptionGroupTest, TeardownLeavesTheGroup) {
  KwButton& a = add(kFrameA);
  add(kFrameA);
  KwButton& c = add(kFrameA);
  rigs[1].reset();  // destroyed while an option button
  EXPECT_EQ(count(kFrameA), 2);
  EXPECT_EQ(member(kFrameA, 1), &a);
  EXPECT_EQ(member(kFrameA, 2), &c);
  c.setValue(true);  // walks the list: must not touch the destroyed one
  EXPECT_TRUE(c.Value());
  EXPECT_TRUE(c.OptionToggle(GroupAnySelected));
  rigs[0].reset();
  rigs[2].reset();
  EXPECT_FALSE(desk.has(kFrameA, "kw_OptCount"));
}

TEST_F(OptionGroupTest, MissingEntryEndsTheRoutineQuietly) {
  KwButton& a = add(kFrameA);
  desk.props[{kFrameA, "kw_OptCount"}] = 3;  // damaged list
  a.setValue(true);
  EXPECT_TRUE(a.Value());
  EXPECT_FALSE(add(kFrameB).OptionToggle(GroupAnySelected));
}

}  // namespace
}  // namespace orv::buttons::test
