#include "platform/win/win_locale.h"

#include "platform/win/text.h"

namespace orv::win {

namespace {
std::string LocaleString(LCTYPE type, const char* fallback) {
  wchar_t buf[16];
  int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buf, 16);
  return n > 1 ? Narrow(buf, n - 1) : std::string(fallback);
}
}  // namespace

std::string WinLocale::decimalSeparator() const { return LocaleString(LOCALE_SDECIMAL, "."); }
std::string WinLocale::thousandsSeparator() const { return LocaleString(LOCALE_STHOUSAND, ","); }

std::optional<std::string> WinLocale::toAnsi(const std::string& utf8) const {
  if (utf8.empty()) return std::string();
  std::wstring w = Widen(utf8);
  BOOL usedDefault = FALSE;
  // No best-fit mapping: a character without an exact ANSI form must be
  // refused, not silently turned into a look-alike or "?".
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      &usedDefault);
  if (usedDefault) return std::nullopt;
  return out;
}

std::string WinLocale::fromAnsi(const std::string& ansi) const {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
  return Narrow(w);
}

}  // namespace orv::win
