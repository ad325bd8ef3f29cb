#include "agenda/agenda.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "agenda/tests/agenda_fixture.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using test::AgendaFixture;

// Sat 2026-10-24 12:00; clocks go back at 03:00 on Sunday the 25th.
TEST(AgendaSending, AWeekOfEntriesAcrossADaylightSavingChange) {
  AgendaFixture f;
  f.agendaFile({"# semana", "02:30 todos madrugada.wav", "19:50 seg,qua,sex rede.wav", "-12:01 todos desligada.wav",
                "08:00 2026-10-27 uma-vez.wav", "09:00 dom domingo.wav"},
               {"madrugada.wav", "rede.wav", "desligada.wav", "uma-vez.wav", "domingo.wav"});
  f.startAt(2026, 10, 24, 12, 0, 0);
  // 15 h later it is 03:00 summer time, which becomes 02:00 again.
  f.time.addOffsetChange(15h, -3600);
  f.agenda.load();
  f.time.advance(7 * 24h);

  EXPECT_THAT(f.outcomes(),
              ElementsAre("2026-10-25 02:30:00 agenda 2 enviada",   // once, not again in the repeated hour
                          "2026-10-25 09:00:00 agenda 6 enviada", "2026-10-26 02:30:00 agenda 2 enviada",
                          "2026-10-26 19:50:00 agenda 3 enviada", "2026-10-27 02:30:00 agenda 2 enviada",
                          "2026-10-27 08:00:00 agenda 5 enviada", "2026-10-28 02:30:00 agenda 2 enviada",
                          "2026-10-28 19:50:00 agenda 3 enviada", "2026-10-29 02:30:00 agenda 2 enviada",
                          "2026-10-30 02:30:00 agenda 2 enviada", "2026-10-30 19:50:00 agenda 3 enviada",
                          "2026-10-31 02:30:00 agenda 2 enviada"));
  EXPECT_EQ(f.sends().front(), "TransmitFile(C:\\Orvalen\\madrugada.wav,-1)");
  EXPECT_TRUE(f.dialogs.shown.empty());
  // Seen within a few milliseconds of second 00.
  for (const auto& e : f.record.entries()) EXPECT_EQ(e.when.second * 1000 + e.when.millisecond < 20, true);
}

TEST(AgendaSending, SpringForwardSendsTheSkippedEntryOnceRightAfterTheJump) {
  AgendaFixture f;
  f.agendaFile({"02:30 todos a.wav"}, {"a.wav"});
  f.startAt(2026, 3, 29, 1, 0, 0);
  f.time.addOffsetChange(1h, 3600);   // 02:00 becomes 03:00
  f.agenda.load();
  f.time.advance(3h);
  EXPECT_THAT(f.outcomes(), ElementsAre("2026-03-29 03:00:00 agenda 1 enviada"));
}

TEST(AgendaSending, TheClockSetBackOrForwardByHand) {
  AgendaFixture f;
  f.agendaFile({"10:00 todos a.wav", "10:30 todos b.wav"}, {"a.wav", "b.wav"});
  f.startAt(2026, 5, 4, 9, 59, 0);
  f.agenda.load();
  f.time.advance(61s);                  // a goes out at 10:00
  f.time.shiftWall(-5min);              // back to 09:56: a must not go out again
  f.time.advance(10min);
  f.time.shiftWall(40min);              // forward over 10:30: b goes out once, at once
  f.time.advance(3s);
  f.time.advance(2h);
  EXPECT_THAT(f.outcomes(), ElementsAre("2026-05-04 10:00:00 agenda 1 enviada", "2026-05-04 10:45:01 agenda 2 enviada"));
  // Not running at a due time: no catch-up at start.
  AgendaFixture late;
  late.agendaFile({"10:00 todos a.wav"}, {"a.wav"});
  late.startAt(2026, 5, 4, 10, 0, 30);
  late.agenda.load();
  late.time.advance(10min);
  EXPECT_TRUE(late.record.entries().empty());
}

TEST(AgendaSending, AClockCorrectedFromAYearAheadKeepsTheEntriesFromThenOn) {
  AgendaFixture f;
  f.agendaFile({"10:00 todos a.wav"}, {"a.wav"});
  f.startAt(2027, 5, 4, 9, 59, 0);      // a year ahead by mistake
  f.agenda.load();
  f.time.advance(61s);
  f.time.shiftWall(-std::chrono::hours(24 * 365));
  f.time.advance(std::chrono::hours(24));
  EXPECT_THAT(f.outcomes(), ElementsAre("2027-05-04 10:00:00 agenda 1 enviada", "2026-05-05 10:00:00 agenda 1 enviada"));
}

TEST(AgendaSending, ABusyHostHoldsTheMessageUpToTenMinutes) {
  AgendaFixture f;
  f.agendaFile({"10:00 todos a.wav", "10:20 todos a.wav"}, {"a.wav"});
  f.startAt(2026, 5, 4, 9, 59, 0);
  f.agenda.load();
  f.host.secondBusy = true;
  f.time.advance(90s);
  EXPECT_TRUE(f.sends().empty());
  f.host.secondBusy = false;
  f.host.firstBusy = true;
  f.time.advance(60s);
  f.host.firstBusy = false;
  f.time.advance(1s);
  // 10:20: busy for the whole ten minutes, then dropped.
  f.host.firstBusy = true;
  f.time.advance(40min);
  f.host.firstBusy = false;
  f.time.advance(1h);
  EXPECT_THAT(f.outcomes(), ElementsAre("2026-05-04 10:01:30 agenda 1 enviada após 90 s de espera",
                                        "2026-05-04 10:30:00 agenda 2 não enviada: host ocupado por 10 min"));
  EXPECT_EQ(f.sends().size(), 1u);
  EXPECT_EQ(f.ptt.text(), "PTT OFF");
}

TEST(AgendaSending, WaitsForASlotPlayingLocallyAndForAMode) {
  AgendaFixture f;
  f.check21.setValue(0);
  f.check20.setValue(1);
  SlotScheduler slots(f.controls, f.services, f.fields, f.guard);
  slots.stopAllTimers();
  f.agendaFile({"10:00 todos agenda.wav"}, {"agenda.wav", "slot.wav"});
  f.startAt(2026, 5, 4, 8, 59, 59);
  f.agenda.load();
  f.mens[0].setText("slot.wav");
  f.cont[0].setText("3600");
  f.check[0].setValue(1);
  slots.onSlotCheckChanged(0);   // sends at 10:00:00, a 20 s message
  f.time.advance(3601s);
  f.time.advance(10s);           // the agenda's message waits for it
  EXPECT_THAT(f.player.played, ElementsAre("slot.wav"));
  f.check20.setValue(0);         // no mode: still waiting after the playback
  f.time.advance(30s);
  EXPECT_EQ(f.player.played.size(), 1u);
  f.check20.setValue(1);
  f.time.advance(1s);
  EXPECT_THAT(f.player.played, ElementsAre("slot.wav", "agenda.wav"));
  EXPECT_THAT(f.outcomes(), ElementsAre("2026-05-04 10:00:00 slot 1 enviada",
                                        "2026-05-04 10:00:40 agenda 1 enviada após 40 s de espera"));
}

TEST(AgendaSending, MissingAndUnplayableFilesAndAFailingHostAreRecorded) {
  AgendaFixture f;
  f.agendaFile({"10:00 todos falta.wav", "10:01 todos a.wav", "10:02 todos a.wav"}, {"a.wav"});
  f.startAt(2026, 5, 4, 9, 59, 59);
  f.agenda.load();
  f.host.fail("TransmitFile");
  f.time.advance(62s);
  f.check21.setValue(0);
  f.check20.setValue(1);
  f.player.renders = false;
  f.time.advance(60s);
  ASSERT_EQ(f.record.entries().size(), 3u);
  EXPECT_EQ(f.record.entries()[0].outcome, "arquivo não existe");
  EXPECT_EQ(f.record.entries()[1].outcome.rfind("host falhou: TransmitFile", 0), 0u);
  EXPECT_EQ(f.record.entries()[1].mode, "RF+IP");
  EXPECT_EQ(f.record.entries()[2].outcome, "arquivo não pode ser tocado");
  EXPECT_EQ(f.host.count("SetTransmit(-1)"), 1);   // never keyed for a file that will not play
  EXPECT_EQ(f.host.count("SetTransmit(0)"), 3);
  EXPECT_EQ(f.ptt.text(), "PTT OFF");
}

TEST(AgendaSending, UnreadableLinesAreReportedOnceAndTheirNumbersKept) {
  AgendaFixture f;
  f.agendaFile({"nada disso", "# c", "10:00 todos a.wav"}, {"a.wav"});
  f.startAt(2026, 5, 4, 9, 59, 0);
  f.agenda.load();
  f.time.advance(2min);
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_NE(f.dialogs.shown[0].text.find("linha 1"), std::string::npos);
  EXPECT_THAT(f.outcomes(), ElementsAre("2026-05-04 10:00:00 agenda 3 enviada"));
}

TEST(AgendaSending, AnAgendaWithNothingOnItNeverWakesUntilEntriesAreSaved) {
  AgendaFixture f;
  f.agendaFile({"# nada por enquanto", "-10:00 todos a.wav"}, {"a.wav"});
  f.startAt(2026, 5, 4, 9, 58, 0);
  f.agenda.load();
  const auto before = f.time.ticksDelivered();
  f.time.advance(10min);
  EXPECT_EQ(f.time.ticksDelivered(), before);
  AgendaFile file = f.agenda.file();
  file.lines.push_back(ParseAgendaLine("10:10 todos a.wav"));
  ASSERT_EQ(f.agenda.save(file), "");
  f.time.advance(2min + 1s);
  EXPECT_THAT(f.outcomes(), ElementsAre("2026-05-04 10:10:00 agenda 3 enviada"));
}

}  // namespace
}  // namespace orv
