#include "scheduler/message_path.h"

namespace orv {

bool IsAbsoluteWindowsPath(const std::string& name) {
  if (name.size() >= 3 && name[1] == ':' && (name[2] == '\\' || name[2] == '/')) {
    const char d = name[0];
    return (d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z');
  }
  return name.size() >= 2 && (name[0] == '\\' || name[0] == '/') && (name[1] == '\\' || name[1] == '/');
}

namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// "C:" of "C:\Orvalen\", "\\server\share" of a UNC folder; empty when
// the folder names no root.
std::string RootOf(const std::string& folder) {
  if (folder.size() >= 2 && folder[1] == ':') return folder.substr(0, 2);
  if (folder.size() >= 2 && IsSlash(folder[0]) && IsSlash(folder[1])) {
    size_t server = folder.find_first_of("\\/", 2);
    if (server == std::string::npos) return folder;
    size_t share = folder.find_first_of("\\/", server + 1);
    return share == std::string::npos ? folder : folder.substr(0, share);
  }
  return {};
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string MessagePath(const std::string& caminho, const std::string& name) {
  // Gluing an absolute name to the folder gives a path that never exists.
  if (IsAbsoluteWindowsPath(name)) return name;
  if (!name.empty() && IsSlash(name[0])) return RootOf(caminho) + name;
  return caminho + name;
}

bool NamesADevice(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1);
  // The device's name is what comes before the first dot; Windows also
  // drops trailing blanks from it ("NUL .wav").
  base = base.substr(0, base.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = Upper(c);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

}  // namespace orv
