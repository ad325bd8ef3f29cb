#include <gtest/gtest.h>

#include "scheduler/clock_font_size.h"
#include "scheduler/slot_actions.h"
#include "scheduler/slot_file_name.h"
#include "scheduler/tests/scheduler_fixture.h"
#include "tests/support/fake_file_picker.h"

using namespace orv;
using namespace orv::test;

namespace {

struct SlotActionsFixture : SchedulerFixture {
  FakeFilePicker picker;
  SlotActions actions{controls, services, fields, sched, guard, picker};
};

}  // namespace

TEST(SlotFileName, BareInTheProgramFolderWholeElsewhere) {
  const std::string folder = "C:\\Orvalen\\";
  EXPECT_EQ(SlotFileName(folder, "C:\\Orvalen\\ident.wav"), "ident.wav");
  EXPECT_EQ(SlotFileName(folder, "c:/orvalen/Aviso.WAV"), "Aviso.WAV");
  EXPECT_EQ(SlotFileName(folder, "C:\\Orvalen\\sons\\a.wav"), "C:\\Orvalen\\sons\\a.wav");
  EXPECT_EQ(SlotFileName(folder, "C:\\Orvalen2\\a.wav"), "C:\\Orvalen2\\a.wav");
  EXPECT_EQ(SlotFileName(folder, "D:\\msg\\a.wav"), "D:\\msg\\a.wav");
  EXPECT_EQ(SlotFileName(folder, "\\\\radio\\msg\\a.wav"), "\\\\radio\\msg\\a.wav");
  EXPECT_TRUE(IsWavName("x.WaV"));
  EXPECT_FALSE(IsWavName(".wav"));
  EXPECT_FALSE(IsWavName("x.wav.txt"));
}

TEST(SlotActions, BrowseFillsTheBoxByTheFolderRuleAndCancelKeepsIt) {
  SlotActionsFixture f;
  f.mens[2].setText("old.wav");
  f.actions.browse(2);
  EXPECT_EQ(f.mens[2].text(), "old.wav");
  EXPECT_EQ(f.picker.opened, std::vector<std::string>{"C:\\Orvalen\\"});
  f.picker.answer = "C:\\Orvalen\\ident.wav";
  f.actions.browse(2);
  EXPECT_EQ(f.mens[2].text(), "ident.wav");
  f.picker.answer = "E:\\Sons\\aviso.wav";
  f.actions.browse(2);
  EXPECT_EQ(f.mens[2].text(), "E:\\Sons\\aviso.wav");
}

TEST(SlotActions, DropTakesTheFirstWavFile) {
  SlotActionsFixture f;
  f.actions.filesDropped(0, {"C:\\Orvalen\\notas.txt"});
  EXPECT_EQ(f.mens[0].text(), "");
  f.actions.filesDropped(0, {"C:\\x\\notas.txt", "C:\\Orvalen\\b.wav", "C:\\Orvalen\\c.wav"});
  EXPECT_EQ(f.mens[0].text(), "b.wav");
}

TEST(SlotActions, ListenPlaysWithoutHostProgressOrScheduleAndTogglesOff) {
  SlotActionsFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "30");
  f.playback.lengths["C:\\Orvalen\\a.wav"] = 10;
  const auto callsBefore = f.host.calls.size();
  f.seconds(2);
  f.actions.listen(0);
  EXPECT_TRUE(f.actions.listening());
  EXPECT_EQ(f.playback.log, (std::vector<std::string>{"create", "render(C:\\Orvalen\\a.wav)", "run"}));
  f.seconds(3);
  EXPECT_EQ(f.temp[0].text(), "25");  // the countdown goes on untouched
  EXPECT_EQ(f.text3.text(), "00:00:00");
  EXPECT_EQ(f.h1.value(), 0);
  f.actions.listen(0);  // the second "Ouvir" stops
  EXPECT_FALSE(f.actions.listening());
  EXPECT_EQ(f.playback.live, 0);
  for (std::size_t i = callsBefore; i < f.host.calls.size(); ++i)
    EXPECT_EQ(f.host.calls[i].rfind("SetTransmit", 0), std::string::npos) << f.host.calls[i];
  EXPECT_TRUE(f.ptt.text() == "PTT OFF");

  f.actions.listen(0);
  f.seconds(11);  // played to its end: the next "Ouvir" plays again
  EXPECT_FALSE(f.actions.listening());
  f.actions.listen(0);
  EXPECT_TRUE(f.actions.listening());
}

TEST(SlotActions, ListenToAMissingFileSaysSo) {
  SlotActionsFixture f;
  f.mens[4].setText("nada.wav");
  f.actions.listen(4);
  EXPECT_FALSE(f.actions.listening());
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_NE(f.dialogs.shown[0].text.find("nada.wav"), std::string::npos);
  f.mens[4].setText("");
  f.actions.listen(4);
  EXPECT_EQ(f.dialogs.shown.size(), 1u);
}

TEST(SlotActions, SendNowGoesOutOnceInEachModeAndReloadsTheCountdown) {
  SlotActionsFixture f;
  f.check21.setValue(1);
  f.arm(1, "a.wav", "20");
  f.seconds(5);
  EXPECT_EQ(f.temp[1].text(), "15");
  EXPECT_TRUE(f.actions.sendNow(1));
  EXPECT_EQ(f.sends(), std::vector<std::string>{"TransmitFile(C:\\Orvalen\\a.wav,-1)"});
  EXPECT_EQ(f.host.count("SetTransmit(-1)"), 1);
  EXPECT_EQ(f.temp[1].text(), "20");
  EXPECT_EQ(f.ptt.text(), "PTT OFF");

  f.check21.setValue(0);
  f.check20.setValue(1);
  f.mens[3].setText("b.wav");  // a slot that is not armed sends too
  EXPECT_TRUE(f.actions.sendNow(3));
  EXPECT_EQ(f.player.played, std::vector<std::string>{"b.wav"});
  EXPECT_EQ(f.sends().size(), 1u);
}

TEST(SlotActions, SendNowAsksTheBusyFlagsFirst) {
  SlotActionsFixture f;
  f.check21.setValue(1);
  f.mens[0].setText("a.wav");
  f.host.firstBusy = true;
  EXPECT_FALSE(f.actions.sendNow(0));
  f.host.firstBusy = false;
  f.host.secondBusy = true;
  EXPECT_FALSE(f.actions.sendNow(0));
  EXPECT_TRUE(f.sends().empty());
  EXPECT_EQ(f.host.count("FirstBusyFlag"), 1);
  EXPECT_EQ(f.host.count("SecondBusyFlag"), 2);
  f.mens[0].setText("  ");
  f.host.secondBusy = false;
  EXPECT_FALSE(f.actions.sendNow(0));
  // Each refusal said why; the empty box needs no words.
  ASSERT_EQ(f.dialogs.shown.size(), 2u);
  EXPECT_EQ(f.dialogs.shown[0].text, "O EchoLink est\xC3\xA1 ocupado. A mensagem n\xC3\xA3o foi enviada.");
}

TEST(SlotActions, ARefusedSendNowLeavesTheSlotsOwnWaitAlone) {
  SlotActionsFixture f;
  TransmissionRecord record{f.time};
  f.services.record = &record;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "10");
  f.host.firstBusy = true;
  f.seconds(5);
  EXPECT_FALSE(f.actions.sendNow(0));   // refused at 5 s: the slot itself is not due yet
  f.host.firstBusy = false;
  f.seconds(6);                         // due at 11 s, free at once
  ASSERT_EQ(record.entries().size(), 1u);
  EXPECT_EQ(record.entries()[0].outcome, "enviada");
}

TEST(SlotActions, AHearingIsRefusedOnTheAirAndHoldsTheSchedule) {
  SlotActionsFixture f;
  f.check20.setValue(1);
  f.addFile("a.wav");
  f.addFile("b.wav");
  f.playback.lengths["C:\\Orvalen\\b.wav"] = 30;
  f.mens[1].setText("b.wav");
  f.arm(0, "a.wav", "3");
  f.seconds(4);                          // a plays on the air
  ASSERT_TRUE(f.guard.mayBeKeyed());
  f.actions.listen(1);
  EXPECT_FALSE(f.actions.listening());
  EXPECT_EQ(f.dialogs.shown.back().text, "N\xC3\xA3o \xC3\xA9 poss\xC3\xADvel ouvir agora: uma mensagem est\xC3\xA1 no ar.");
  f.guard.release();
  f.actions.listen(1);                   // off the air: it plays, and the slot waits for it
  EXPECT_TRUE(f.actions.listening());
  f.seconds(8);
  EXPECT_EQ(f.player.played.size(), 1u);
  EXPECT_EQ(f.temp[0].text(), "0");
  f.actions.stopListening();
  f.seconds(1);
  EXPECT_EQ(f.player.played.size(), 2u);
}

TEST(ClockFontSize, LargestSizeThatFits) {
  // Width grows with size: 6 px a point.
  auto measure = [](double pt) { return static_cast<int>(pt * 6); };
  EXPECT_EQ(LargestFittingSize(13.5, 0.75, 6, 89, measure), 13.5);
  EXPECT_EQ(LargestFittingSize(13.5, 0.75, 6, 70, measure), 11.25);
  EXPECT_EQ(LargestFittingSize(13.5, 0.75, 6, 10, measure), 6);
}
