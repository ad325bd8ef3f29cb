#pragma once
// The standard Open dialog, as the core asks for it.
#include <optional>
#include <string>

namespace orv {

class FilePicker {
 public:
  virtual ~FilePicker() = default;
  // Opens on `folder` (UTF-8); the chosen file's full path, or nothing when
  // the user cancels. The process's current directory is left where it was.
  virtual std::optional<std::string> pickAudioFile(const std::string& folder) = 0;
};

}  // namespace orv
