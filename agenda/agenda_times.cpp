#include "agenda/agenda_times.h"

#include "platform/civil_time.h"

namespace orv {

namespace {

constexpr LocalMinute kDay = 1440;

LocalMinute FloorDiv(LocalMinute a, LocalMinute b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool FallsOn(const AgendaDays& d, std::int64_t day) {
  if (d.every) return true;
  if (d.onDate()) return DaysFromCivil(d.year, d.month, d.day) == day;
  return (d.weekdays >> WeekdayFromDays(day)) & 1u;
}

}  // namespace

LocalMinute MinuteOf(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kDay + t.hour * 60 + t.minute;
}

double SecondsIntoMinute(const LocalTime& t) { return t.second + t.millisecond / 1000.0; }

std::optional<LocalMinute> LatestDue(const AgendaEntry& e, LocalMinute at) {
  const LocalMinute ofDay = e.hour * 60 + e.minute;
  const std::int64_t today = FloorDiv(at, kDay);
  if (e.days.onDate()) {
    const LocalMinute m = DaysFromCivil(e.days.year, e.days.month, e.days.day) * kDay + ofDay;
    return m <= at ? std::optional<LocalMinute>(m) : std::nullopt;
  }
  for (int back = 0; back <= 7; ++back) {
    const std::int64_t day = today - back;
    const LocalMinute m = day * kDay + ofDay;
    if (m <= at && FallsOn(e.days, day)) return m;
  }
  return std::nullopt;
}

std::optional<LocalMinute> NextDue(const AgendaEntry& e, LocalMinute after) {
  const LocalMinute ofDay = e.hour * 60 + e.minute;
  const std::int64_t today = FloorDiv(after, kDay);
  if (e.days.onDate()) {
    const LocalMinute m = DaysFromCivil(e.days.year, e.days.month, e.days.day) * kDay + ofDay;
    return m > after ? std::optional<LocalMinute>(m) : std::nullopt;
  }
  for (int ahead = 0; ahead <= 8; ++ahead) {
    const std::int64_t day = today + ahead;
    const LocalMinute m = day * kDay + ofDay;
    if (m > after && FallsOn(e.days, day)) return m;
  }
  return std::nullopt;
}

}  // namespace orv
