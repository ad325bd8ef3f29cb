#pragma once
// The audio code's files on Windows: sizes and last-write times, reads at an
// offset, new files written beside their place and moved into it, and
// %LOCALAPPDATA%\Orvalen\convertidos. Holds no state: the window's thread
// and the worker use it at once.
#include <string>

#include "audio/audio_files.h"
#include "platform/win/services.h"

namespace orv::win {

class WinAudioFiles : public AudioFiles {
 public:
  std::optional<FileStamp> stamp(const std::string& path) override;
  std::optional<std::string> readAll(const std::string& path) override { return WinFileSystem().readAll(path); }
  bool replaceAll(const std::string& path, const std::string& bytes) override {
    return WinFileSystem().replaceAll(path, bytes).ok;
  }
  std::unique_ptr<ByteReader> open(const std::string& path) override;
  std::unique_ptr<FileWriter> create(const std::string& path) override;
  bool remove(const std::string& path) override;
  void touch(const std::string& path) override;
  std::uint64_t now() override;
  std::string cacheFolder() override;
  std::vector<CachedFile> list(const std::string& folder) override;
};

// The user's local application data folder, from the shell; "" when it has none.
std::string LocalAppDataFolder();

}  // namespace orv::win
