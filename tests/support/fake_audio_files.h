#pragma once
// The audio code's file access over the fake file system: a file's stamp is
// its size and a modification time the test sets.
#include <map>
#include <string>

#include "audio/audio_files.h"
#include "tests/support/fake_services.h"

namespace orv::test {

class FakeAudioFiles : public AudioFiles {
 public:
  explicit FakeAudioFiles(FakeFileSystem& fs) : fs_(fs) {}
  std::optional<FileStamp> stamp(const std::string& path) override {
    const auto it = fs_.files.find(path);
    if (it == fs_.files.end()) return std::nullopt;
    return FileStamp{it->second.size(), modified[path]};
  }
  std::optional<std::string> readAll(const std::string& path) override {
    ++reads[path];
    return fs_.readAll(path);
  }
  bool replaceAll(const std::string& path, const std::string& bytes) override {
    ++writes[path];
    return fs_.replaceAll(path, bytes).ok;
  }
  std::string cacheFolder() override { return folder; }

  std::map<std::string, std::uint64_t> modified;
  std::map<std::string, int> reads, writes;
  std::string folder = "C:\\Users\\op\\AppData\\Local\\Orvalen\\convertidos";

 private:
  FakeFileSystem& fs_;
};

}  // namespace orv::test
