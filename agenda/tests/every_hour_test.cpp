// Entries of every hour ("*:MM"), as written, as planned, and as sent
// across the changes of the clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "agenda/agenda.h"
#include "agenda/agenda_times.h"
#include "agenda/send_plan.h"
#include "agenda/tests/agenda_fixture.h"
#include "platform/civil_time.h"

namespace orv {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using test::AgendaFixture;

LocalMinute At(int y, int mo, int d, int h, int mi) { return DaysFromCivil(y, mo, d) * 1440 + h * 60 + mi; }

TEST(EveryHour, ReadWrittenAndTheTimeAnnouncementNamed) {
  const AgendaFile f = ParseAgenda("*:00 todos @hora\r\n-*:30 seg,sex @HORA\r\n*:5 todos a.wav\r\n**:00 todos a.wav\r\n"
                                   "*:60 todos a.wav\r\n*00 todos a.wav\r\n12:00 todos @hora\r\n");
  ASSERT_EQ(f.lines.size(), 7u);
  const AgendaEntry& e = f.lines[0].entry;
  EXPECT_TRUE(e.everyHour);
  EXPECT_EQ(e.minute, 0);
  EXPECT_EQ(FormatAgendaEntry(e), "*:00 todos @hora");
  EXPECT_TRUE(IsTimeAnnouncement(e.file));
  EXPECT_EQ(FormatAgendaEntry(f.lines[1].entry), "-*:30 seg,sex @HORA");
  EXPECT_TRUE(IsTimeAnnouncement(f.lines[1].entry.file));
  for (int i = 2; i <= 5; ++i) EXPECT_EQ(f.lines[i].kind, AgendaLine::Kind::Unreadable) << f.lines[i].text;
  EXPECT_NE(f.lines[2].problem.find("*:MM"), std::string::npos);
  EXPECT_FALSE(f.lines[6].entry.everyHour);
  EXPECT_FALSE(IsTimeAnnouncement("@horas"));
  EXPECT_FALSE(IsTimeAnnouncement("hora.wav"));
}

TEST(EveryHour, DueTimesFollowTheDaysAndNeverSkipOrRepeatAnHour) {
  const AgendaEntry e = ParseAgendaLine("*:15 qua,dom a.wav").entry;   // 2026-05-06 is a Wednesday
  EXPECT_EQ(NextDue(e, At(2026, 5, 6, 23, 15)), At(2026, 5, 10, 0, 15));
  EXPECT_EQ(LatestDue(e, At(2026, 5, 6, 0, 14)), At(2026, 5, 3, 23, 15));
  // Walking a month minute by minute: each due time is the next after the
  // one before, an hour apart on the days that count.
  const AgendaEntry every = ParseAgendaLine("*:45 todos a.wav").entry;
  LocalMinute t = At(2026, 2, 1, 0, 0);
  int found = 0;
  for (auto due = NextDue(every, t); due && *due < At(2026, 3, 1, 0, 0); due = NextDue(every, *due), ++found) {
    EXPECT_EQ(*due % 60, 45);
    EXPECT_EQ(LatestDue(every, *due), due);
    EXPECT_EQ(LatestDue(every, *due + 59), due);
  }
  EXPECT_EQ(found, 28 * 24);
  // The plan shows each one.
  AgendaFile file = ParseAgenda("*:00 todos @hora\r\n");
  LocalTime now;
  now.year = 2026, now.month = 5, now.day = 4, now.hour = 10, now.minute = 20;
  const auto plan = PlanSends({}, file, now);
  ASSERT_EQ(plan.sends.size(), 24u);
  EXPECT_DOUBLE_EQ(plan.sends.front().at, 40 * 60.0);
  EXPECT_EQ(plan.file(plan.sends.front()), "@hora");
}

// Clocks go forward at 02:00 on 2026-03-29 and back at 03:00 on 2026-10-25.
TEST(EveryHour, OnceInEveryHourOfTheLocalClockAcrossBothDaylightSavingChanges) {
  AgendaFixture spring;
  spring.agendaFile({"*:30 todos a.wav", "*:00 todos b.wav"}, {"a.wav", "b.wav"});
  spring.player.seconds = 1;
  spring.startAt(2026, 3, 29, 0, 10, 0);
  spring.time.addOffsetChange(110min, 3600);   // 02:00 becomes 03:00
  spring.agenda.load();
  spring.time.advance(4h);
  EXPECT_THAT(spring.outcomes(),
              ElementsAre("2026-03-29 00:30:00 agenda 1 enviada", "2026-03-29 01:00:00 agenda 2 enviada",
                          "2026-03-29 01:30:00 agenda 1 enviada", "2026-03-29 03:00:00 agenda 2 enviada",
                          "2026-03-29 03:30:00 agenda 1 enviada", "2026-03-29 04:00:00 agenda 2 enviada",
                          "2026-03-29 04:30:00 agenda 1 enviada", "2026-03-29 05:00:00 agenda 2 enviada"));

  AgendaFixture autumn;
  autumn.agendaFile({"*:30 todos a.wav"}, {"a.wav"});
  autumn.startAt(2026, 10, 25, 1, 10, 0);
  autumn.time.addOffsetChange(110min, -3600);   // 03:00 becomes 02:00
  autumn.agenda.load();
  autumn.time.advance(4h);
  EXPECT_THAT(autumn.outcomes(),
              ElementsAre("2026-10-25 01:30:00 agenda 1 enviada", "2026-10-25 02:30:00 agenda 1 enviada",
                          "2026-10-25 02:30:00 agenda 1 enviada", "2026-10-25 03:30:00 agenda 1 enviada"));

  // The clock set back a few minutes by hand sends nothing twice.
  AgendaFixture hand;
  hand.agendaFile({"*:00 todos a.wav"}, {"a.wav"});
  hand.startAt(2026, 5, 4, 9, 59, 0);
  hand.agenda.load();
  hand.time.advance(2min);
  hand.time.shiftWall(-5min);
  hand.time.advance(70min);
  EXPECT_THAT(hand.outcomes(), ElementsAre("2026-05-04 10:00:00 agenda 1 enviada", "2026-05-04 11:00:00 agenda 1 enviada"));
}

}  // namespace
}  // namespace orv
