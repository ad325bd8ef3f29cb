#pragma once
// What the audio code needs of the file system: a file's size and time, its
// bytes where they are needed, new files written safely, and the folder of
// the program's converted copies. Used from the window's thread (stamps,
// small reads) and from the worker (everything else) alike.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/file_io.h"

namespace orv {

// File times in the units Windows counts them: 100 ns since 1601.
inline constexpr std::uint64_t kFileTimeDay = 864000000000ull;

struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t modified = 0;  // last write, in file-time units
  bool operator==(const FileStamp&) const = default;
};

struct CachedFile {
  std::string path;
  FileStamp stamp;
};

class AudioFiles {
 public:
  virtual ~AudioFiles() = default;
  // Nothing when the file is missing or is a folder.
  virtual std::optional<FileStamp> stamp(const std::string& path) = 0;
  // A small file whole (a copy's note of its source).
  virtual std::optional<std::string> readAll(const std::string& path) = 0;
  // A new file in the same folder, flushed, then put in place of `path`.
  virtual bool replaceAll(const std::string& path, const std::string& bytes) = 0;
  // Nothing when the file cannot be opened.
  virtual std::unique_ptr<ByteReader> open(const std::string& path) = 0;
  // A new file beside `path`, put in its place by commit(); nothing when it
  // cannot be made.
  virtual std::unique_ptr<FileWriter> create(const std::string& path) = 0;
  virtual bool remove(const std::string& path) = 0;
  // Its last-write time becomes now: the copy was used.
  virtual void touch(const std::string& path) = 0;
  // The time now, in file-time units.
  virtual std::uint64_t now() = 0;
  // The folder of converted copies, made when missing; "" when none can be
  // had. Under the user's local application data: the program's own folder
  // may not be writable.
  virtual std::string cacheFolder() = 0;
  // The files in `folder` (not its subfolders).
  virtual std::vector<CachedFile> list(const std::string& folder) = 0;
};

}  // namespace orv
