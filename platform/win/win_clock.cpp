#include "platform/win/win_clock.h"

#include <cstdio>

#include "platform/win/text.h"

namespace orv::win {

std::chrono::milliseconds WinClock::monotonic() const {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return std::chrono::milliseconds(now.QuadPart / freq.QuadPart * 1000 + now.QuadPart % freq.QuadPart * 1000 / freq.QuadPart);
}

std::string WinClock::timeOfDayText() const {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  const unsigned long long second = ((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000000ULL;
  if (second == cachedSecond_ && !cachedText_.empty()) return cachedText_;
  wchar_t buf[64];
  int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, buf, 64);
  cachedSecond_ = second;
  cachedText_ = n > 1 ? Narrow(buf, n - 1) : std::string();
  return cachedText_;
}

std::string WinClock::logTimestamp() const {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char buf[40];
  std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond, t.wMilliseconds);
  return buf;
}

}  // namespace orv::win
