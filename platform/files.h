#pragma once
// File access the core needs: directory listings for the file test, and
// whole-file reads and safe replacement for the slot list file.
#include <optional>
#include <string>

namespace orv {

struct ListResult {
  bool ok = true;          // false: the pattern could not be listed (bad characters, ...)
  int normalFiles = 0;     // matches that are normal files: not hidden, not system, not folders
  std::string error;
};

struct WriteResult {
  bool ok = true;
  std::string error;       // the system's reason, in plain words
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Lists `pattern` as a directory listing does: "*" and "?" are wildcards,
  // a pattern ending in "\" lists that folder.
  virtual ListResult listNormalFiles(const std::string& pattern) = 0;
  virtual bool exists(const std::string& path) = 0;
  // The whole file as bytes, or nothing when it cannot be opened or read;
  // `error` (when given) then receives the system's reason in plain words.
  virtual std::optional<std::string> readAll(const std::string& path, std::string* error = nullptr) = 0;
  // Writes `bytes` to a new file in the same folder, flushes it, then
  // replaces `path` with it. On any failure `path` is left as it was. With a
  // `backupPath`, the file `path` held until now is kept under that name
  // (an older backup is replaced); with no old file there is no backup.
  virtual WriteResult replaceAll(const std::string& path, const std::string& bytes,
                                 const std::string& backupPath = {}) = 0;
  // The folder the program was started from (the exe's folder), without a
  // trailing separator unless it is a root ("C:\").
  virtual std::string programFolder() = 0;
};

}  // namespace orv
