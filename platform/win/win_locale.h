#pragma once
// The user's locale and the ANSI code page.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/locale.h"

namespace orv::win {

class WinLocale : public Locale {
 public:
  std::string decimalSeparator() const override;
  std::string thousandsSeparator() const override;
  std::optional<std::string> toAnsi(const std::string& utf8) const override;
  std::string fromAnsi(const std::string& ansi) const override;
};

}  // namespace orv::win
