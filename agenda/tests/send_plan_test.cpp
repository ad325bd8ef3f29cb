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
  const SendPlan plan = PlanSends(slots, agenda, now);
  int slot = 0, agendaSends = 0;
  for (const auto& p : plan.sends) (p.source == 0 ? slot : agendaSends)++;
  EXPECT_EQ(slot, 24);
  EXPECT_EQ(agendaSends, 2);   // 12:30 today and 09:00 tomorrow; 12:30 tomorrow is past 24 h
  EXPECT_DOUBLE_EQ(plan.sends[0].at, 60);
  EXPECT_EQ(plan.origin(plan.sends[1]), "agenda 1");
  EXPECT_EQ(plan.file(plan.sends[1]), "meio.wav");
  EXPECT_DOUBLE_EQ(plan.sends[1].at, 29 * 60 + 30);
  EXPECT_EQ(plan.origin(plan.sends.back()), "slot 1");
  EXPECT_EQ(plan.file(plan.sends.back()), "hora.wav");

  const auto hours = AirtimePerHour(plan, [](const std::string& f) -> std::optional<double> {
    if (f == "hora.wav") return 10.0;
    if (f == "meio.wav") return 30.0;
    return std::nullopt;
  });
  EXPECT_DOUBLE_EQ(hours[0], 40);
  EXPECT_DOUBLE_EQ(hours[1], 10);
}

TEST(SendPlan, ASlotSendingEverySecondPlansADayAndEachFileIsAskedOnce) {
  std::array<SlotPlanInput, kSlotCount> slots;
  for (int i = 0; i < kSlotCount; ++i) slots[i] = {true, i, i == 0 ? 0 : 599, "s" + std::to_string(i) + ".wav"};
  const AgendaFile agenda = ParseAgenda("00:05 todos a.wav\r\n");
  const SendPlan plan = PlanSends(slots, agenda, LocalTime{2026, 5, 4, 0, 0, 0, 0, 1});
  EXPECT_EQ(plan.sends.size(), 86400u + 8 * 144 + 1);
  for (std::size_t i = 1; i < plan.sends.size(); ++i) ASSERT_LE(plan.sends[i - 1].at, plan.sends[i].at);
  int asked = 0;
  const auto hours = AirtimePerHour(plan, [&](const std::string& f) -> std::optional<double> {
    ++asked;
    return f == "s0.wav" ? std::optional<double>(1.0) : std::nullopt;
  });
  EXPECT_EQ(asked, kSlotCount + 1);
  EXPECT_DOUBLE_EQ(hours[0], 3599);   // from 1 s to 3599 s; the send at 3600 s is the next hour's
}

}  // namespace
}  // namespace orv
