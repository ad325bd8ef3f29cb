#pragma once
// The user's locale and the ANSI code page.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/locale.h"

namespace orv::win {

// `utf8` in code page `codePage`; nothing when a character has no exact form
// there. Apart so that a UTF-8 ANSI code page can be tried on any system.
std::optional<std::string> ToCodePage(const std::string& utf8, UINT codePage);

class WinLocale : public Locale {
 public:
  std::string decimalSeparator() const override;
  std::string thousandsSeparator() const override;
  std::optional<std::string> toAnsi(const std::string& utf8) const override;
  std::string fromAnsi(const std::string& ansi) const override;
};

}  // namespace orv::win
