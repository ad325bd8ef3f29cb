#include "platform/win/win_clock.h"

#include <cstdio>

#include "platform/win/text.h"

namespace orv::win {

namespace {
using UnbiasedTimeFn = VOID(WINAPI*)(PULONGLONG);

VOID WINAPI PlainUnbiasedTime(PULONGLONG t) { QueryUnbiasedInterruptTime(t); }

// The precise form (Windows 10) reads the counter; the plain one moves in
// scheduler ticks. Both leave out the time the machine slept.
UnbiasedTimeFn UnbiasedInterruptTime() {
  if (HMODULE kb = GetModuleHandleW(L"kernelbase.dll")) {
    if (auto f = reinterpret_cast<UnbiasedTimeFn>(
            reinterpret_cast<void*>(GetProcAddress(kb, "QueryUnbiasedInterruptTimePrecise"))))
      return f;
  }
  return &PlainUnbiasedTime;
}
}  // namespace

std::chrono::milliseconds WinClock::monotonic() const {
  // Sleep must not count: the countdowns resume where they stood instead of
  // bursting every slot due during the night at the moment of waking.
  static const UnbiasedTimeFn read = UnbiasedInterruptTime();
  ULONGLONG hundredsOfNs = 0;
  read(&hundredsOfNs);
  return std::chrono::milliseconds(static_cast<long long>(hundredsOfNs / 10000));
}

unsigned long long WallClockMillis() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return ((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000ULL;
}

std::string WinClock::timeOfDayText() const {
  const unsigned long long second = WallClockMillis() / 1000;
  if (second == cachedSecond_ && !cachedText_.empty()) return cachedText_;
  wchar_t buf[64];
  int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, buf, 64);
  cachedSecond_ = second;
  cachedText_ = n > 1 ? Narrow(buf, n - 1) : std::string();
  return cachedText_;
}

int WinClock::wallMillis() const { return static_cast<int>(WallClockMillis() % 1000); }

std::string WinClock::logTimestamp() const {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond, t.wMilliseconds);
  return buf;
}

LocalTime WinClock::localNow() const {
  // GetLocalTime applies the time zone and daylight saving in force now.
  SYSTEMTIME t;
  GetLocalTime(&t);
  LocalTime l;
  l.year = t.wYear;
  l.month = t.wMonth;
  l.day = t.wDay;
  l.hour = t.wHour;
  l.minute = t.wMinute;
  l.second = t.wSecond;
  l.millisecond = t.wMilliseconds;
  l.weekday = t.wDayOfWeek;
  return l;
}

}  // namespace orv::win
