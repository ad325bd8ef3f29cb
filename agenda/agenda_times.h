#pragma once
// When agenda entries fall due, on a count of local minutes since
// 1970-01-01 00:00 (the wall clock's minute, not the monotonic clock's).
#include <chrono>
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

// The due time an entry last went out for, and when on the monotonic clock.
struct DueTaken {
  LocalMinute minute = 0;
  std::chrono::milliseconds at{0};
};

// Whether `due`, the entry's latest due time at `now` and later than the
// minute last looked at, is sent; `before` is when that same due time was
// taken already, if it was. The clock set back over a due time sends
// nothing again, and one it jumped over goes out once right after the jump;
// but an entry of every hour goes out again in a repeated hour (daylight
// saving ends) once most of an hour has really passed, and does not catch
// up on an hour jumped over: the next one is never far.
bool ShouldTake(const AgendaEntry& e, LocalMinute due, LocalMinute now, const std::optional<DueTaken>& before,
                std::chrono::milliseconds monotonicNow);

}  // namespace orv
