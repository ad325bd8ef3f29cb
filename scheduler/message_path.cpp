#include "scheduler/message_path.h"

namespace orv {

bool IsAbsoluteWindowsPath(const std::string& name) {
  if (name.size() >= 3 && name[1] == ':' && (name[2] == '\\' || name[2] == '/')) {
    const char d = name[0];
    return (d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z');
  }
  return name.size() >= 2 && (name[0] == '\\' || name[0] == '/') && (name[1] == '\\' || name[1] == '/');
}

std::string MessagePath(const std::string& caminho, const std::string& name) {
  // Gluing an absolute name to the folder gives a path that never exists.
  return IsAbsoluteWindowsPath(name) ? name : caminho + name;
}

}  // namespace orv
