#include "scheduler/format_hms.h"

#include <cmath>
#include <cstdio>

namespace orv {

std::string FormatHms(double x) {
  // Stay in doubles until the value is known to be small: a huge or infinite
  // length must not overflow an integer on its way to "24:59:59".
  x = std::floor(x);
  if (!(x >= 1)) return "00:00:00";
  const double hours = std::floor(x / 3600);
  if (hours > 24) return "24:59:59";
  const double minutes = std::floor((x - 3600 * hours) / 60);
  const double seconds = x - 60 * std::floor(x / 60);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(hours), static_cast<int>(minutes),
                static_cast<int>(seconds));
  return buf;
}

}  // namespace orv
