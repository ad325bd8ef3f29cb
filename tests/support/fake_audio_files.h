#pragma once
// The audio code's file access over the fake file system: a file's stamp is
// its size and a modification time the test sets (or the time it was
// written or touched, on the fake's own clock).
#include <algorithm>
#include <map>
#include <memory>
#include <string>

#include "audio/audio_files.h"
#include "audio/copy_cache.h"
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
    if (!fs_.replaceAll(path, bytes).ok) return false;
    modified[path] = clock;
    return true;
  }
  std::unique_ptr<ByteReader> open(const std::string& path) override {
    ++opens[path];
    const auto it = fs_.files.find(path);
    // A file the system will not open (locked, no rights) is there all the same.
    const bool locked = std::find(fs_.unreadable.begin(), fs_.unreadable.end(), path) != fs_.unreadable.end();
    if (it == fs_.files.end() || locked) return nullptr;
    return std::make_unique<Reader>(*this, path, it->second);
  }
  std::unique_ptr<FileWriter> create(const std::string& path) override {
    if (fs_.failWrites) return nullptr;
    fs_.files[PartialPath(path)] = "";
    return std::make_unique<Writer>(*this, path);
  }
  bool remove(const std::string& path) override {
    modified.erase(path);
    return fs_.files.erase(path) > 0;
  }
  void touch(const std::string& path) override {
    ++touches[path];
    if (fs_.files.count(path)) modified[path] = clock;
  }
  std::uint64_t now() override { return clock; }
  std::string cacheFolder() override { return folder; }
  std::vector<CachedFile> list(const std::string& dir) override {
    std::vector<CachedFile> out;
    const std::string prefix = dir + "\\";
    for (const auto& [path, bytes] : fs_.files)
      if (path.rfind(prefix, 0) == 0 && path.find('\\', prefix.size()) == std::string::npos)
        out.push_back({path, *stamp(path)});
    return out;
  }

  // Bytes read from each file: a header read reads a few dozen.
  std::map<std::string, std::uint64_t> bytesRead;
  std::map<std::string, std::uint64_t> modified;
  std::map<std::string, int> reads, opens, writes, touches;
  std::string folder = "C:\\Users\\op\\AppData\\Local\\Orvalen\\convertidos";
  std::uint64_t clock = 1000 * kFileTimeDay;

 private:
  struct Reader : ByteReader {
    Reader(FakeAudioFiles& o, std::string p, const std::string& b) : owner(o), path(std::move(p)), bytes(b) {}
    std::uint64_t size() const override { return bytes.size(); }
    std::size_t read(std::uint64_t offset, char* out, std::size_t count) override {
      const std::size_t n = MemoryReader(bytes).read(offset, out, count);
      owner.bytesRead[path] += n;
      return n;
    }
    FakeAudioFiles& owner;
    std::string path;
    std::string bytes;   // as the file was when opened
  };
  struct Writer : FileWriter {
    Writer(FakeAudioFiles& o, std::string p) : owner(o), path(std::move(p)) {}
    ~Writer() override {
      if (!done) owner.fs_.files.erase(PartialPath(path));
    }
    bool append(const char* b, std::size_t n) override {
      if (owner.fs_.failWrites) return false;
      return memory.append(b, n);
    }
    bool writeAt(std::uint64_t offset, const char* b, std::size_t n) override { return memory.writeAt(offset, b, n); }
    bool commit() override {
      if (owner.fs_.failWrites) return false;
      owner.fs_.files.erase(PartialPath(path));
      done = true;
      return owner.replaceAll(path, memory.bytes);
    }
    FakeAudioFiles& owner;
    std::string path;
    MemoryWriter memory;
    bool done = false;
  };
  FakeFileSystem& fs_;
};

}  // namespace orv::test
