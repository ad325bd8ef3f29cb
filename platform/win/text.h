#pragma once
// UTF-8 (the core's text) <-> UTF-16 (the Windows API's).
#include <string>

namespace orv::win {

std::wstring Widen(const std::string& utf8);
// A file name for the file calls: past MAX_PATH the plain form finds
// nothing, so a long one is handed over in the extended ("\\?\") form.
std::wstring WidePath(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);
std::string Narrow(const wchar_t* utf16, int length);

}  // namespace orv::win
