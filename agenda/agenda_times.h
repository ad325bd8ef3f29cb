#pragma once
// When agenda entries fall due, on a count of local minutes since
// 1970-01-01 00:00 (the wall clock's minute, not the monotonic clock's).
#include <cstdint>
#include <optional>

#include "agenda/agenda_file.h"
#include "platform/clock.h"

namespace orv {

using LocalMinute = std::int64_t;

LocalMinute MinuteOf(const LocalTime& t);
// Seconds into that minute, with milliseconds.
double SecondsIntoMinute(const LocalTime& t);

// The latest minute at or before `at` on which `e` falls due.
std::optional<LocalMinute> LatestDue(const AgendaEntry& e, LocalMinute at);
// The first minute after `after` on which `e` falls due.
std::optional<LocalMinute> NextDue(const AgendaEntry& e, LocalMinute after);

}  // namespace orv
