#pragma once
// What the audio code needs of the file system: a file's size and time, its
// bytes, safe replacement, and the folder of the program's converted copies.
#include <cstdint>
#include <optional>
#include <string>

namespace orv {

struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t modified = 0;  // the system's last-write time, in its own units
  bool operator==(const FileStamp&) const = default;
};

class AudioFiles {
 public:
  virtual ~AudioFiles() = default;
  // Nothing when the file is missing or is a folder.
  virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
  virtual std::optional<std::string> readAll(const std::string& path) = 0;
  // A new file in the same folder, flushed, then put in place of `path`.
  virtual bool replaceAll(const std::string& path, const std::string& bytes) = 0;
  // The folder of converted copies, made when missing; "" when none can be
  // had. Under the user's local application data: the program's own folder
  // may not be writable.
  virtual std::string cacheFolder() = 0;
};

}  // namespace orv
