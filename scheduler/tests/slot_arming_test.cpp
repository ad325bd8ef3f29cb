#include <gtest/gtest.h>

#include "scheduler/tests/scheduler_fixture.h"

using namespace orv;
using namespace orv::test;

TEST(SlotArming, StartUpLeavesEveryTimerStopped) {
  SchedulerFixture f;
  EXPECT_EQ(f.time.runningTimers(), 0);
  f.arm(0, "a.wav", "5");
  EXPECT_EQ(f.time.runningTimers(), 1);
  f.sched.stopAllTimers();
  EXPECT_EQ(f.time.runningTimers(), 0);
}

TEST(SlotArming, AGoodIntervalAndAnExistingFileArmTheSlot) {
  SchedulerFixture f;
  f.arm(3, "ident.wav", " 30 ");
  EXPECT_EQ(f.check[3].value(), 1);
  EXPECT_TRUE(f.sched.slotArmed(3));
  EXPECT_TRUE(f.sched.slotTimerRunning(3));
  EXPECT_EQ(f.temp[3].text(), "30");
  EXPECT_EQ(f.temp[3].writes, 3);  // initial "0", then before and after the file test
  EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(SlotArming, AnIntervalThatIsNotWholeSecondsIsRefusedWithoutTouchingTheLabel) {
  for (const char* interval : {"0", "00", "", "  ", "abc", "12abc", "-5", "2.5", "2,5", "1.000"}) {
    SchedulerFixture f;
    f.temp[0].setText("7");
    f.arm(0, "ident.wav", interval);
    ASSERT_EQ(f.dialogs.shown.size(), 1u) << interval;
    EXPECT_EQ(f.dialogs.shown[0].text, "Entre com o valor em segundos");
    EXPECT_EQ(f.dialogs.shown[0].title, "Orvalen");
    EXPECT_EQ(f.dialogs.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(f.check[0].value(), 0);
    EXPECT_EQ(f.temp[0].text(), "7");
    EXPECT_FALSE(f.sched.slotTimerRunning(0));
  }
}

TEST(SlotArming, ANameThatIsNotOneExistingFileIsRefusedAfterTheLabelShowsTheInterval) {
  SchedulerFixture f;
  f.addFile("ident.wav");
  f.files.files["C:\\Orvalen\\sub\\x.wav"] = "";
  f.files.files["bare.wav"] = "";                     // not under caminho
  f.files.files["C:\\Orvalen\\hidden.wav"] = "";
  f.files.hidden["C:\\Orvalen\\hidden.wav"] = true;
  for (const char* name : {"missing.wav", "", "   ", "*.wav", "ident.wa?", "sub\\", "sub/", "bare.wav",
                           "hidden.wav", "a|b.wav"}) {
    f.dialogs.shown.clear();
    f.mens[1].setText(name);
    f.cont[1].setText("45");
    f.click(1);
    ASSERT_EQ(f.dialogs.shown.size(), 1u) << '"' << name << '"';
    EXPECT_EQ(f.dialogs.shown[0].text, "O arquivo não Existe!");
    EXPECT_EQ(f.dialogs.shown[0].title, "Orvalen");
    EXPECT_EQ(f.check[1].value(), 0);
    EXPECT_EQ(f.temp[1].text(), "45");
    EXPECT_FALSE(f.sched.slotTimerRunning(1));
  }
  f.mens[1].setText("sub\\x.wav");
  f.click(1);
  EXPECT_TRUE(f.sched.slotArmed(1));
}

TEST(SlotArming, TheBoxStaysTickedBehindTheMessageWhileOtherSlotsTick) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "1");
  f.arm(1, "b.wav", "3");
  f.seconds(1);  // slot 2 at 2
  std::vector<int> boxDuring;
  f.dialogs.whileOpen = [&](const FakeDialogs::Shown&) {
    boxDuring.push_back(f.check[1].value());
    f.seconds(5);  // the user reads the message slowly
  };
  f.click(1);  // untick slot 2
  f.cont[1].setText("0");
  f.click(1);  // re-tick with a bad interval
  EXPECT_EQ(boxDuring, std::vector<int>{1});
  EXPECT_EQ(f.check[1].value(), 0);
  // Slot 1 kept sending behind the message; the refused slot sent nothing.
  EXPECT_EQ(f.sends(), std::vector<std::string>(3, "TransmitFile(C:\\Orvalen\\a.wav,-1)"));
  EXPECT_EQ(f.temp[1].text(), "2");
}

TEST(SlotArming, ProgramChangesRunTheHandlerOnlyWhenTheValueChanges) {
  SchedulerFixture f;
  f.sched.setSlotCheck(0, 0);
  EXPECT_TRUE(f.dialogs.shown.empty());
  f.sched.setSlotCheck(0, 1);  // interval "0": refused, and the program's untick ends quietly
  EXPECT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.check[0].value(), 0);
}

TEST(SlotArming, ModeBoxesKeepEachOtherExclusive) {
  SchedulerFixture f;
  f.clickMode(20);  // one ticked, the other clear
  EXPECT_EQ(f.check20.value(), 1);
  EXPECT_EQ(f.check21.value(), 0);
  f.clickMode(21);  // ticking one while the other is ticked clears both
  EXPECT_EQ(f.check20.value(), 0);
  EXPECT_EQ(f.check21.value(), 0);
  f.clickMode(21);  // a second click ticks it
  EXPECT_EQ(f.check20.value(), 0);
  EXPECT_EQ(f.check21.value(), 1);
  f.clickMode(21);  // unticking leaves both clear
  EXPECT_EQ(f.check20.value(), 0);
  EXPECT_EQ(f.check21.value(), 0);
  f.sched.setModeCheck(20, 1);  // start-up's tick
  EXPECT_EQ(f.check20.value(), 1);
  f.sched.setModeCheck(21, 1);
  EXPECT_EQ(f.check20.value(), 0);
  EXPECT_EQ(f.check21.value(), 0);
}

TEST(SlotArming, StartUpArmsSlotsWithANameAndANonZeroInterval) {
  SchedulerFixture f;
  const char* names[] = {"a.wav", "b.wav", "", "d.wav", "e.wav", "f.wav", "g.wav", "nao.wav", "i.wav"};
  const char* intervals[] = {"10", "0", "10", "00", "", "12abc", "20", "30", "5"};
  for (int i = 0; i < kSlotCount; ++i) {
    if (std::string(names[i]) != "nao.wav" && *names[i]) f.addFile(names[i]);
    f.mens[i].setText(names[i]);
    f.cont[i].setText(intervals[i]);
  }
  f.sched.armAtStartup();
  std::vector<int> armed;
  for (int i = 0; i < kSlotCount; ++i) armed.push_back(f.check[i].value());
  EXPECT_EQ(armed, (std::vector<int>{1, 0, 0, 0, 0, 0, 1, 0, 1}));
  ASSERT_EQ(f.dialogs.shown.size(), 2u);  // slot 6 then slot 8, in slot order
  EXPECT_EQ(f.dialogs.shown[0].text, "Entre com o valor em segundos");
  EXPECT_EQ(f.dialogs.shown[1].text, "O arquivo não Existe!");
}

TEST(SlotArming, ExisteArquivoListsNormalFiles) {
  SchedulerFixture f;
  f.files.files["C:\\Orvalen\\x.wav"] = "";
  EXPECT_TRUE(f.sched.ExisteArquivo("C:\\Orvalen\\x.wav"));
  EXPECT_TRUE(f.sched.ExisteArquivo("C:\\Orvalen\\*.wav"));
  EXPECT_FALSE(f.sched.ExisteArquivo("C:\\Orvalen\\y.wav"));
  EXPECT_FALSE(f.sched.ExisteArquivo("C:\\Orvalen\\<x>.wav"));  // cannot be listed
}
