#include "agenda/send_plan.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(SendPlan, SlotsAndAgendaEntriesOverTheNextDay) {
  std::array<SlotPlanInput, kSlotCount> slots;
  slots[0] = {true, 59, 3599, "hora.wav"};        // 60 s from now, then hourly
  slots[1] = {false, 0, 10, "parado.wav"};        // not armed
  const AgendaFile agenda = ParseAgenda("12:30 todos meio.wav\r\n-12:40 todos off.wav\r\n09:00 2026-05-05 x.wav\r\n"
                                        "08:00 2026-05-04 passou.wav\r\n");
  LocalTime now{2026, 5, 4, 12, 0, 30, 0, 1};
  const auto plan = PlanSends(slots, agenda, now);
  int slot = 0, agendaSends = 0;
  for (const auto& p : plan) (p.source == 0 ? slot : agendaSends)++;
  EXPECT_EQ(slot, 24);
  EXPECT_EQ(agendaSends, 2);   // 12:30 today and 09:00 tomorrow; 12:30 tomorrow is past 24 h
  EXPECT_DOUBLE_EQ(plan[0].at, 60);
  EXPECT_EQ(plan[1].origin, "agenda 1");
  EXPECT_DOUBLE_EQ(plan[1].at, 29 * 60 + 30);
  EXPECT_EQ(plan.back().origin, "slot 1");

  const auto hours = AirtimePerHour(plan, [](const std::string& f) -> std::optional<double> {
    if (f == "hora.wav") return 10.0;
    if (f == "meio.wav") return 30.0;
    return std::nullopt;
  });
  EXPECT_DOUBLE_EQ(hours[0], 40);
  EXPECT_DOUBLE_EQ(hours[1], 10);
}

}  // namespace
}  // namespace orv
