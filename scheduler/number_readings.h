#pragma once
// The ways the main window reads numbers out of its text boxes and writes
// them back into labels.
#include <optional>
#include <string>
#include <string_view>

#include "platform/locale.h"

namespace orv {

// The whole text as a number by the user's locale: its decimal and thousands
// separators, an optional sign and exponent, blanks around it. Nothing when
// the text is not a number or does not fit a double.
std::optional<double> NumericValue(std::string_view text, const Locale& locale);

// The longest leading part that reads as a number with "." as decimal point;
// blanks anywhere are ignored, 0 when the text does not start with a number.
double LeadingValue(std::string_view text);

// No leading blank, no trailing zeros, the locale's decimal separator.
std::string PlainDecimalText(double value, const Locale& locale);

// Largest interval a slot accepts; keeps tick arithmetic far from overflow.
inline constexpr long long kMaxIntervalSeconds = 2147483647;

// The strict reading an interval must pass before a slot is armed: digits
// only (blanks around them allowed), a whole number of seconds from 1 to
// kMaxIntervalSeconds.
std::optional<long long> IntervalSeconds(std::string_view text);

}  // namespace orv
