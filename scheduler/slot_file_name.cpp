#include "scheduler/slot_file_name.h"

namespace orv {

namespace {

char Folded(char c) {
  if (c == '/') return '\\';
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithFolded(const std::string& s, const std::string& prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Folded(s[i]) != Folded(prefix[i])) return false;
  return true;
}

}  // namespace

std::string SlotFileName(const std::string& caminho, const std::string& chosen) {
  if (caminho.empty() || !StartsWithFolded(chosen, caminho)) return chosen;
  const std::string rest = chosen.substr(caminho.size());
  // A file in a subfolder keeps its whole path: a relative name with a
  // folder in it would break as soon as the program folder moved.
  if (rest.empty() || rest.find_first_of("\\/") != std::string::npos) return chosen;
  return rest;
}

bool IsWavName(const std::string& name) {
  static const std::string ext = ".wav";
  if (name.size() <= ext.size()) return false;
  for (std::size_t i = 0; i < ext.size(); ++i)
    if (Folded(name[name.size() - ext.size() + i]) != ext[i]) return false;
  return true;
}

}  // namespace orv
