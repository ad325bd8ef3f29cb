// What screen readers are told about a button, and when.
#include "buttons/accessibility.h"

#include <gtest/gtest.h>

#include "buttons/tests/fake_button_host.h"

namespace orv::buttons::test {
namespace {

using Events = std::vector<AccessibleEvent>;

TEST(AccessibleText, NameAndShortcutComeFromTheCaption) {
  EXPECT_EQ(AccessibleNameOf("&Gravar"), "Gravar");
  EXPECT_EQ(AccessibleNameOf("Rock && Roll"), "Rock & Roll");
  EXPECT_EQ(AccessibleNameOf("Visitar servidor||KORVO"), "Visitar servidor KORVO");
  EXPECT_EQ(AccessibleNameOf("Sair"), "Sair");
  EXPECT_EQ(AccessibleShortcutOf("&Gravar"), "Alt+G");
  EXPECT_EQ(AccessibleShortcutOf("Sa&ir"), "Alt+I");
  EXPECT_EQ(AccessibleShortcutOf("A&\xC3\xA7\xC3\xA3o"), "Alt+\xC3\xA7");  // a non-ASCII key stays as typed
  EXPECT_EQ(AccessibleShortcutOf("Sair"), "");
  EXPECT_EQ(AccessibleShortcutOf("Rock && Roll"), "");
  EXPECT_EQ(AccessibleShortcutOf("Fim&"), "");
}

struct DescribeTest : ::testing::Test {
  FakeDesktop desk;
  Rig rig{desk, 0x100, 0x10};
  KwButton& b = rig.button;
  void SetUp() override { b.InitProperties(); }
};

TEST_F(DescribeTest, RoleAndStatesFollowModeValueInputAndEnabled) {
  b.setCaption("&Ler");
  AccessibleInfo info = DescribeForAccessibility(b, true);
  EXPECT_EQ(info.role, AccessibleRole::PushButton);
  EXPECT_EQ(info.name, "Ler");
  EXPECT_EQ(info.shortcut, "Alt+L");
  EXPECT_EQ(info.states, (AccessibleStates{.focused = true}));

  b.MouseDown(1, 0, 5, 5);
  EXPECT_TRUE(DescribeForAccessibility(b, false).states.pressed);
  b.MouseUp(1, 0, 5, 5);

  b.setMode(ModeCheckBox);
  EXPECT_EQ(DescribeForAccessibility(b, false).role, AccessibleRole::CheckButton);
  b.setValue(true);
  EXPECT_TRUE(DescribeForAccessibility(b, false).states.checked);
  b.setMode(ModeOptionButton);
  EXPECT_EQ(DescribeForAccessibility(b, false).role, AccessibleRole::RadioButton);

  desk.underCursor = 0x100;
  b.MouseMove(0, 0, 5, 5);
  EXPECT_TRUE(DescribeForAccessibility(b, false).states.hot);
  desk.underCursor = 0;
  b.TrackMouseLeave(HoverTimerId);
  EXPECT_FALSE(DescribeForAccessibility(b, false).states.hot);

  b.setEnabled(false);
  EXPECT_TRUE(DescribeForAccessibility(b, false).states.unavailable);
}

TEST(AccessibleAnnouncer, SaysWhatChangedOnlyOnce) {
  AccessibleAnnouncer a;
  AccessibleInfo info{AccessibleRole::CheckButton, "Ler", "", {}};
  EXPECT_EQ(a.update(info), Events{});  // the first look only remembers
  EXPECT_EQ(a.update(info), Events{});
  info.states.focused = true;
  EXPECT_EQ(a.update(info), Events{AccessibleEvent::Focus});
  info.states.focused = false;
  EXPECT_EQ(a.update(info), Events{});  // the window taking the focus tells
  info.states.checked = true;
  EXPECT_EQ(a.update(info), (Events{AccessibleEvent::StateChange, AccessibleEvent::ValueChange}));
  info.states.unavailable = true;
  info.states.hot = true;
  EXPECT_EQ(a.update(info), Events{AccessibleEvent::StateChange});
  info.name = "Gravar";
  EXPECT_EQ(a.update(info), Events{AccessibleEvent::NameChange});
}

TEST_F(DescribeTest, DefaultActionClicksAsTheMouseDoes) {
  rig.host.width = 90;
  rig.host.height = 34;
  b.setMode(ModeCheckBox);
  rig.events.log.clear();
  EXPECT_TRUE(b.DefaultAction());
  EXPECT_EQ(rig.events.log, (std::vector<std::string>{"MouseDown(1,0,45,17)", "MouseUp(1,0,45,17)", "Click"}));
  EXPECT_TRUE(b.Value());
  EXPECT_FALSE(rig.host.captured);
  b.setEnabled(false);
  rig.events.log.clear();
  EXPECT_FALSE(b.DefaultAction());
  EXPECT_TRUE(rig.events.log.empty());
}

TEST_F(DescribeTest, CaptionReachesTheHostsWindowText) {
  EXPECT_EQ(rig.host.windowText, "kwButtons_H1");
  b.setCaption("Gravar");
  EXPECT_EQ(rig.host.windowText, "Gravar");
  b.ReadProperties(MemoryPropertyBag::fromText("Caption=Retornar\n"));
  EXPECT_EQ(rig.host.windowText, "Retornar");
}

}  // namespace
}  // namespace orv::buttons::test
