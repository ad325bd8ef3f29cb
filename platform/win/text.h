#pragma once
// UTF-8 (the core's text) <-> UTF-16 (the Windows API's).
#include <string>

namespace orv::win {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
std::string Narrow(const wchar_t* utf16, int length);

}  // namespace orv::win
