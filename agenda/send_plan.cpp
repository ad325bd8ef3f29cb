#include "agenda/send_plan.h"

#include <algorithm>
#include <cmath>

#include "agenda/agenda_times.h"
#include "scheduler/number_readings.h"

namespace orv {

SendPlan PlanSends(const std::array<SlotPlanInput, kSlotCount>& slots, const AgendaFile& agenda, const LocalTime& now,
                   double horizonSeconds) {
  SendPlan plan;
  std::size_t count = 0;
  for (const SlotPlanInput& s : slots)
    if (s.armed && s.count >= 0 && s.interval >= 0 && s.count + 1 <= horizonSeconds)
      count += static_cast<std::size_t>((horizonSeconds - static_cast<double>(s.count + 1)) / static_cast<double>(s.interval + 1)) + 1;
  plan.sends.reserve(count);
  for (int i = 0; i < kSlotCount; ++i) {
    const SlotPlanInput& s = slots[i];
    plan.slotFiles[i] = s.file;
    if (!s.armed || s.count < 0 || s.interval < 0) continue;
    const double period = static_cast<double>(s.interval + 1);
    // Bounded: an interval of 0 sends every second, 86400 marks a day.
    for (double at = static_cast<double>(s.count + 1); at <= horizonSeconds; at += period) plan.sends.push_back({at, i, 0});
  }
  const LocalMinute minute = MinuteOf(now);
  const double into = SecondsIntoMinute(now);
  plan.lineFiles.resize(agenda.lines.size());
  for (size_t n = 0; n < agenda.lines.size(); ++n) {
    const AgendaLine& line = agenda.lines[n];
    if (line.kind != AgendaLine::Kind::Entry || !line.entry.enabled) continue;
    plan.lineFiles[n] = line.entry.file;
    LocalMinute after = minute;
    while (auto due = NextDue(line.entry, after)) {
      const double at = static_cast<double>(*due - minute) * 60 - into;
      if (at > horizonSeconds) break;
      plan.sends.push_back({at, kAgendaSource, static_cast<int>(n + 1)});
      after = *due;
    }
  }
  std::stable_sort(plan.sends.begin(), plan.sends.end(),
                   [](const PlannedSend& a, const PlannedSend& b) { return a.at < b.at; });
  return plan;
}

std::string SendPlan::origin(const PlannedSend& p) const {
  return p.source == kAgendaSource ? "agenda " + std::to_string(p.line) : "slot " + std::to_string(p.source + 1);
}

const std::string& SendPlan::file(const PlannedSend& p) const {
  static const std::string none;
  if (p.source == kAgendaSource) return p.line >= 1 && static_cast<std::size_t>(p.line) <= lineFiles.size() ? lineFiles[p.line - 1] : none;
  return p.source >= 0 && p.source < kSlotCount ? slotFiles[p.source] : none;
}

std::array<double, kPlanHours> AirtimePerHour(const SendPlan& plan,
                                              const std::function<std::optional<double>(const std::string&)>& length) {
  std::array<double, kPlanHours> hours{};
  // One length per slot and per line, asked the first time it is needed.
  std::vector<std::optional<std::optional<double>>> known(kSlotCount + plan.lineFiles.size());
  for (const PlannedSend& p : plan.sends) {
    const int h = static_cast<int>(std::floor(p.at / 3600));
    if (h < 0 || h >= kPlanHours) continue;
    const std::size_t key = p.source == kAgendaSource ? kSlotCount + static_cast<std::size_t>(p.line - 1)
                                                      : static_cast<std::size_t>(p.source);
    if (key >= known.size()) continue;
    if (!known[key]) known[key] = length(plan.file(p));
    if (*known[key]) hours[h] += **known[key];
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
