#pragma once
// The audio code's files on Windows: sizes and last-write times, whole-file
// reads, safe replacement, and %LOCALAPPDATA%\Orvalen\convertidos.
#include <string>

#include "audio/audio_files.h"
#include "platform/win/services.h"

namespace orv::win {

class WinAudioFiles : public AudioFiles {
 public:
  std::optional<FileStamp> stamp(const std::string& path) override;
  std::optional<std::string> readAll(const std::string& path) override { return files_.readAll(path); }
  bool replaceAll(const std::string& path, const std::string& bytes) override {
    return files_.replaceAll(path, bytes).ok;
  }
  std::string cacheFolder() override;

 private:
  WinFileSystem files_;
};

// The user's local application data folder, from the shell; "" when it has none.
std::string LocalAppDataFolder();

}  // namespace orv::win
