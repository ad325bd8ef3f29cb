#include "audio/win/win_audio_files.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/win/text.h"

namespace orv::win {

std::optional<FileStamp> WinAudioFiles::stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &a)) return std::nullopt;
  if (a.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  FileStamp s;
  s.size = (static_cast<std::uint64_t>(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
  s.modified = (static_cast<std::uint64_t>(a.ftLastWriteTime.dwHighDateTime) << 32) | a.ftLastWriteTime.dwLowDateTime;
  return s;
}

std::string LocalAppDataFolder() {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &path))) folder = Narrow(path);
  CoTaskMemFree(path);  // owed even when the call fails
  return folder;
}

std::string WinAudioFiles::cacheFolder() {
  const std::string base = LocalAppDataFolder();
  if (base.empty()) return "";
  std::string folder = base;
  for (const char* part : {"\\Orvalen", "\\convertidos"}) {
    folder += part;
    if (!CreateDirectoryW(Widen(folder).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return "";
  }
  return folder;
}

}  // namespace orv::win
