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

std::optional<std::string> ToCodePage(const std::string& utf8, UINT codePage) {
  if (utf8.empty()) return std::string();
  std::wstring w = Widen(utf8);
  if (codePage == CP_UTF8) {
    // Every character has a UTF-8 form; the best-fit flag and the default
    // character report are refused for this code page. Only an unpaired
    // surrogate (text that did not come from valid UTF-8) fails here.
    int n = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    if (n <= 0) return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
  }
  BOOL usedDefault = FALSE;
  // No best-fit mapping: a character without an exact ANSI form must be
  // refused, not silently turned into a look-alike or "?".
  int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), nullptr, 0,
                              nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      &usedDefault);
  if (usedDefault) return std::nullopt;
  return out;
}

std::optional<std::string> WinLocale::toAnsi(const std::string& utf8) const {
  // CP_ACP itself is not recognised as UTF-8 by the checks above: name it.
  return ToCodePage(utf8, GetACP());
}

std::string WinLocale::fromAnsi(const std::string& ansi) const {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
  return Narrow(w);
}

}  // namespace orv::win
