#include "scheduler/number_readings.h"

#include <charconv>
#include <cmath>

namespace orv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Decimal exponent of the leading digit of `canonical`, clamped: tells an
// overflow from an underflow when the conversion cannot hold the value.
long long Magnitude(const std::string& canonical) {
  size_t i = canonical[0] == '-' ? 1 : 0;
  long long intDigits = 0, leadingZeros = 0;
  bool seenNonZero = false, fraction = false;
  for (; i < canonical.size() && canonical[i] != 'e'; ++i) {
    char c = canonical[i];
    if (c == '.') { fraction = true; continue; }
    if (c != '0') seenNonZero = true;
    if (!fraction && seenNonZero) ++intDigits;
    if (fraction && !seenNonZero) ++leadingZeros;
  }
  long long mag = seenNonZero ? (intDigits > 0 ? intDigits - 1 : -leadingZeros - 1) : -100000;
  if (i < canonical.size()) {
    bool neg = false;
    long long exp = 0;
    for (++i; i < canonical.size(); ++i) {
      if (canonical[i] == '-') { neg = true; continue; }
      if (exp < 100000) exp = exp * 10 + (canonical[i] - '0');
    }
    mag += neg ? -exp : exp;
  }
  return mag;
}

// `canonical` holds only [-]digits[.digits][e[-]digits]; from_chars keeps
// the conversion independent of the C runtime's locale. Too small to hold
// reads as 0; too large to hold is no number.
std::optional<double> Convert(const std::string& canonical) {
  double v = 0;
  auto [end, ec] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), v);
  if (ec == std::errc::result_out_of_range) {
    if (Magnitude(canonical) < 0) return canonical[0] == '-' ? -0.0 : 0.0;
    return std::nullopt;
  }
  if (ec != std::errc() || end != canonical.data() + canonical.size()) return std::nullopt;
  return v;
}

bool StartsWithAt(std::string_view text, size_t pos, std::string_view what) {
  return !what.empty() && text.substr(pos, what.size()) == what;
}

}  // namespace

std::optional<double> NumericValue(std::string_view text, const Locale& locale) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  text = text.substr(b, e - b);

  const std::string dec = locale.decimalSeparator();
  std::string thou = locale.thousandsSeparator();
  if (thou == dec) thou.clear();

  std::string out;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') out += '-';
    ++i;
  }
  int digits = 0;
  bool fraction = false;
  while (i < text.size()) {
    if (IsDigit(text[i])) {
      out += text[i++];
      ++digits;
    } else if (!fraction && digits > 0 && StartsWithAt(text, i, thou) && i + thou.size() < text.size() &&
               IsDigit(text[i + thou.size()])) {
      i += thou.size();  // grouping is not checked, as the system's own conversion does not
    } else if (!fraction && StartsWithAt(text, i, dec)) {
      fraction = true;
      out += '.';
      i += dec.size();
    } else {
      break;
    }
  }
  if (digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    out += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      if (text[i] == '-') out += '-';
      ++i;
    }
    if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
    while (i < text.size() && IsDigit(text[i])) out += text[i++];
  }
  if (i != text.size()) return std::nullopt;
  return Convert(out);
}

double LeadingValue(std::string_view text) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;
  };
  std::string out;
  skipBlanks();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') out += '-';
    ++i;
  }
  int digits = 0;
  bool fraction = false;
  for (;; ++i) {
    skipBlanks();
    if (i >= text.size()) break;
    if (IsDigit(text[i])) {
      out += text[i];
      ++digits;
    } else if (text[i] == '.' && !fraction) {
      fraction = true;
      out += '.';
    } else {
      break;
    }
  }
  if (digits == 0) return 0;
  const std::string mantissa = out;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    std::string exp = "e";
    size_t j = i + 1;
    auto skip = [&] {
      while (j < text.size() && (text[j] == ' ' || text[j] == '\t' || text[j] == '\n')) ++j;
    };
    skip();
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      if (text[j] == '-') exp += '-';
      ++j;
    }
    int expDigits = 0;
    for (;; ++j) {
      skip();
      if (j >= text.size() || !IsDigit(text[j])) break;
      exp += text[j];
      ++expDigits;
    }
    if (expDigits > 0) out += exp;
  }
  if (auto v = Convert(out)) return *v;
  // An exponent too large to hold: the longest part that still reads is the mantissa.
  if (auto v = Convert(mantissa)) return *v;
  return 0;
}

std::string PlainDecimalText(double value, const Locale& locale) {
  if (!std::isfinite(value) || value == 0) return "0";
  char buf[64];
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    auto r = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value));
    return std::string(buf, r.ptr);
  }
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
  std::string out;
  for (const char* p = buf; p != r.ptr; ++p) {
    if (*p == '.')
      out += locale.decimalSeparator();
    else if (*p == 'e')
      out += 'E';
    else
      out += *p;
  }
  return out;
}

std::optional<long long> IntervalSeconds(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  if (b == e) return std::nullopt;
  long long v = 0;
  for (size_t i = b; i < e; ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    v = v * 10 + (text[i] - '0');
    if (v > kMaxIntervalSeconds) return std::nullopt;
  }
  if (v < 1) return std::nullopt;
  return v;
}

}  // namespace orv
