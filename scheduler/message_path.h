#pragma once
// Where a message's file is. A slot (or any other message) names its file
// either by a bare name, looked up in the program folder, or by an absolute
// path that is used as it stands.
#include <string>

namespace orv {

// "C:\...", "C:/..." and UNC names ("\\server\share\...") are absolute.
bool IsAbsoluteWindowsPath(const std::string& name);

// The path the file test, the local playback and the host all use. A name
// with one leading "\" is rooted on the program folder's drive, as Windows
// reads it.
std::string MessagePath(const std::string& caminho, const std::string& name);

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, with any extension: Windows opens
// a device for them, never a file, whatever folder they are named in.
bool NamesADevice(const std::string& path);

}  // namespace orv
