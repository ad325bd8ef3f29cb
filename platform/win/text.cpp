#include "platform/win/text.h"

#include <windows.h>

namespace orv::win {

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::wstring WidePath(const std::string& utf8) {
  std::wstring path = Widen(utf8);
  // Short names keep the plain form, which also takes "/" and "..".
  constexpr size_t kRoomForAName = 12;
  if (path.size() < MAX_PATH - kRoomForAName || path.rfind(L"\\\\?\\", 0) == 0) return path;
  // The extended form is taken as it stands: it must be full and clean.
  DWORD n = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  n = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  if (n == 0 || n >= full.size()) return path;
  full.resize(n);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::string Narrow(const wchar_t* utf16, int length) {
  if (length <= 0) return {};
  int n = ::WideCharToMultiByte(CP_UTF8, 0, utf16, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, utf16, length, out.data(), n, nullptr, nullptr);
  return out;
}

std::string Narrow(const std::wstring& utf16) { return Narrow(utf16.data(), static_cast<int>(utf16.size())); }

}  // namespace orv::win
