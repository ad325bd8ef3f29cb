#pragma once
#include <string>

namespace orv {

// "hh:mm:ss" for a time in seconds, fractions dropped. Below one second (and
// NaN) "00:00:00"; 24 h up to 24:59:59 keeps counting in the 24th hour;
// anything longer is "24:59:59".
std::string FormatHms(double seconds);

}  // namespace orv
