#pragma once
// What the core needs of the user's locale and the ANSI code page.
#include <optional>
#include <string>

namespace orv {

class Locale {
 public:
  virtual ~Locale() = default;
  virtual std::string decimalSeparator() const = 0;   // "," or "." ...
  virtual std::string thousandsSeparator() const = 0;
  // UTF-8 to the system's ANSI code page; nothing when a character has no
  // exact ANSI form (no best-fit substitution).
  virtual std::optional<std::string> toAnsi(const std::string& utf8) const = 0;
  virtual std::string fromAnsi(const std::string& ansi) const = 0;
};

}  // namespace orv
