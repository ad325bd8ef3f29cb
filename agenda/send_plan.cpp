#include "agenda/send_plan.h"

#include <algorithm>
#include <cmath>

#include "agenda/agenda_times.h"
#include "scheduler/number_readings.h"

namespace orv {

std::vector<PlannedSend> PlanSends(const std::array<SlotPlanInput, kSlotCount>& slots, const AgendaFile& agenda,
                                   const LocalTime& now, double horizonSeconds) {
  std::vector<PlannedSend> plan;
  for (int i = 0; i < kSlotCount; ++i) {
    const SlotPlanInput& s = slots[i];
    if (!s.armed || s.count < 0 || s.interval < 0) continue;
    const double period = static_cast<double>(s.interval + 1);
    // Bounded: an interval of 0 sends every second, 86400 marks a day.
    for (double at = static_cast<double>(s.count + 1); at <= horizonSeconds; at += period)
      plan.push_back({at, i, "slot " + std::to_string(i + 1), s.file});
  }
  const LocalMinute minute = MinuteOf(now);
  const double into = SecondsIntoMinute(now);
  for (size_t n = 0; n < agenda.lines.size(); ++n) {
    const AgendaLine& line = agenda.lines[n];
    if (line.kind != AgendaLine::Kind::Entry || !line.entry.enabled) continue;
    LocalMinute after = minute;
    while (auto due = NextDue(line.entry, after)) {
      const double at = static_cast<double>(*due - minute) * 60 - into;
      if (at > horizonSeconds) break;
      plan.push_back({at, kAgendaSource, "agenda " + std::to_string(n + 1), line.entry.file});
      after = *due;
    }
  }
  std::stable_sort(plan.begin(), plan.end(), [](const PlannedSend& a, const PlannedSend& b) { return a.at < b.at; });
  return plan;
}

std::array<double, kPlanHours> AirtimePerHour(const std::vector<PlannedSend>& plan,
                                              const std::function<std::optional<double>(const std::string&)>& length) {
  std::array<double, kPlanHours> hours{};
  for (const PlannedSend& p : plan) {
    const int h = static_cast<int>(std::floor(p.at / 3600));
    if (h < 0 || h >= kPlanHours) continue;
    if (auto seconds = length(p.file)) hours[h] += *seconds;
  }
  return hours;
}

std::array<SlotPlanInput, kSlotCount> SlotsFromControls(const FormControls& c, const std::function<bool(int)>& armed) {
  std::array<SlotPlanInput, kSlotCount> slots;
  for (int i = 0; i < kSlotCount; ++i) {
    SlotPlanInput& s = slots[i];
    s.armed = c.Check[i]->value() == 1 && armed(i);
    s.file = c.mens[i]->text();
    const double count = LeadingValue(c.temp[i]->text());
    const double interval = LeadingValue(c.cont[i]->text());
    s.count = static_cast<long long>(count);
    s.interval = interval >= 0 && interval <= 1e9 ? static_cast<long long>(interval) : 0;
    if (count != std::floor(count)) s.armed = false;   // a fractional countdown never fires
  }
  return slots;
}

}  // namespace orv
