#include "agenda/agenda_times.h"

#include <algorithm>

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

// The latest minute of `day` at or before `at` on which `e` falls due.
std::optional<LocalMinute> LatestOnDay(const AgendaEntry& e, std::int64_t day, LocalMinute at) {
  if (!FallsOn(e.days, day)) return std::nullopt;
  if (e.everyHour) {
    const LocalMinute first = day * kDay + e.minute;
    if (first > at) return std::nullopt;
    return first + std::min<LocalMinute>(23, (at - first) / 60) * 60;
  }
  const LocalMinute m = day * kDay + e.hour * 60 + e.minute;
  return m <= at ? std::optional<LocalMinute>(m) : std::nullopt;
}

// The first minute of `day` after `after` on which `e` falls due.
std::optional<LocalMinute> FirstOnDayAfter(const AgendaEntry& e, std::int64_t day, LocalMinute after) {
  if (!FallsOn(e.days, day)) return std::nullopt;
  if (e.everyHour) {
    const LocalMinute first = day * kDay + e.minute;
    if (first > after) return first;
    const LocalMinute hour = (after - first) / 60 + 1;
    return hour <= 23 ? std::optional<LocalMinute>(first + hour * 60) : std::nullopt;
  }
  const LocalMinute m = day * kDay + e.hour * 60 + e.minute;
  return m > after ? std::optional<LocalMinute>(m) : std::nullopt;
}

}  // namespace

LocalMinute MinuteOf(const LocalTime& t) {
  return DaysFromCivil(t.year, t.month, t.day) * kDay + t.hour * 60 + t.minute;
}

double SecondsIntoMinute(const LocalTime& t) { return t.second + t.millisecond / 1000.0; }

std::optional<LocalMinute> LatestDue(const AgendaEntry& e, LocalMinute at) {
  const std::int64_t today = FloorDiv(at, kDay);
  if (e.days.onDate()) {
    const std::int64_t day = DaysFromCivil(e.days.year, e.days.month, e.days.day);
    return day <= today ? LatestOnDay(e, day, at) : std::nullopt;
  }
  for (int back = 0; back <= 7; ++back)
    if (auto m = LatestOnDay(e, today - back, at)) return m;
  return std::nullopt;
}

std::optional<LocalMinute> NextDue(const AgendaEntry& e, LocalMinute after) {
  const std::int64_t today = FloorDiv(after, kDay);
  if (e.days.onDate()) {
    const std::int64_t day = DaysFromCivil(e.days.year, e.days.month, e.days.day);
    return day >= today ? FirstOnDayAfter(e, day, after) : std::nullopt;
  }
  for (int ahead = 0; ahead <= 8; ++ahead)
    if (auto m = FirstOnDayAfter(e, today + ahead, after)) return m;
  return std::nullopt;
}

bool ShouldTake(const AgendaEntry& e, LocalMinute due, LocalMinute now, const std::optional<DueTaken>& before,
                std::chrono::milliseconds monotonicNow) {
  using namespace std::chrono_literals;
  if (e.everyHour && due < now) return false;
  if (before) return e.everyHour && monotonicNow - before->at >= 55min;
  return true;
}

}  // namespace orv
