#pragma once
// The system shell's "perform a verb on a file or address" call.
#include <string>

namespace orv {

struct ShellRequest {
  const void* parentWindow = nullptr;
  std::string verb, file, parameters, directory;
  int showCommand = 1;  // normal
};

class Shell {
 public:
  virtual ~Shell() = default;
  // The result is the caller's to ignore.
  virtual bool execute(const ShellRequest& request) = 0;
};

}  // namespace orv
