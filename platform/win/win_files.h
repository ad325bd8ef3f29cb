#pragma once
// The core's file access over the Win32 file API.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/files.h"

namespace orv::win {

class WinFileSystem : public FileSystem {
 public:
  ListResult listNormalFiles(const std::string& pattern) override;
  bool exists(const std::string& path) override;
  std::optional<std::string> readAll(const std::string& path, std::string* error = nullptr) override;
  WriteResult replaceAll(const std::string& path, const std::string& bytes,
                         const std::string& backupPath = {}) override;
  std::string programFolder() override;
};

// The system's own words for a Win32 error code.
std::string SystemErrorText(DWORD code);

}  // namespace orv::win
