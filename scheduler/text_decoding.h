#pragma once
// Reading text files the operator may have edited: the program writes the
// ANSI code page, but Notepad on current Windows saves UTF-8.
#include <string>
#include <string_view>

#include "platform/locale.h"

namespace orv {

bool IsValidUtf8(std::string_view bytes);

// The file's bytes as UTF-8. A UTF-8 byte-order mark is dropped; text that is
// valid UTF-8 is taken as it is (plain ASCII reads the same either way);
// anything else is read in the ANSI code page.
std::string DecodeTextFile(std::string_view bytes, const Locale& locale);

}  // namespace orv
