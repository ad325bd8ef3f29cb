#include "audio/copy_cache.h"

#include <algorithm>
#include <map>
#include <vector>

namespace orv {

namespace {

// Windows names one file with either case and either slash.
std::string Folded(const std::string& path) {
  std::string s = path;
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c == '/') c = '\\';
  }
  return s;
}

std::string Hex64(std::uint64_t v) {
  static const char* digits = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = digits[v & 15];
  return s;
}

bool EndsWith(const std::string& s, const char* tail) {
  const std::string t(tail);
  return s.size() >= t.size() && Folded(s.substr(s.size() - t.size())) == t;
}

std::string Stem(const std::string& path) { return path.substr(0, path.size() - 4); }

}  // namespace

std::string CopyPathFor(const std::string& folder, const std::string& source) {
  // FNV-1a over the whole folded path; the note's own copy of the path
  // turns away the rare two paths that share a hash.
  std::uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : Folded(source)) h = (h ^ c) * 0x100000001b3ull;
  std::string base = folder;
  if (!base.empty() && base.back() != '\\' && base.back() != '/') base += '\\';
  return base + Hex64(h) + ".wav";
}

std::string CopyNotePath(const std::string& copy) { return Stem(copy) + ".txt"; }

std::string CopyNote(const std::string& source, const FileStamp& stamp) {
  return "Orvalen\n" + std::to_string(stamp.size) + " " + std::to_string(stamp.modified) + "\n" + Folded(source) + "\n";
}

std::string NotedSource(const std::string& note) {
  if (note.rfind("Orvalen\n", 0) != 0) return "";
  const std::size_t second = note.find('\n', 8);
  if (second == std::string::npos) return "";
  const std::size_t end = note.find('\n', second + 1);
  if (end == std::string::npos) return "";
  return note.substr(second + 1, end - second - 1);
}

std::string PartialPath(const std::string& path) { return path + ".part"; }

int SweepCache(AudioFiles& files, const std::string& folder, const std::set<std::string>& keep, Sweep sweep,
               const CacheRules& rules) {
  if (folder.empty()) return 0;
  int removed = 0;
  auto drop = [&](const std::string& path) {
    if (files.remove(path)) ++removed;
  };
  std::map<std::string, CachedFile> copies, notes;   // by stem
  for (CachedFile& f : files.list(folder)) {
    if (EndsWith(f.path, ".wav")) copies[Folded(Stem(f.path))] = f;
    else if (EndsWith(f.path, ".txt")) notes[Folded(Stem(f.path))] = f;
    else if (sweep == Sweep::Whole && EndsWith(f.path, ".part")) drop(f.path);  // a run that ended mid-copy
  }
  std::set<std::string> kept;
  for (const std::string& k : keep) kept.insert(Folded(k));
  const std::uint64_t now = files.now();

  for (auto it = copies.begin(); it != copies.end();) {
    const CachedFile& copy = it->second;
    if (kept.count(Folded(copy.path))) {
      ++it;
      continue;
    }
    bool useless = false;
    if (sweep == Sweep::Whole) {
      const auto note = notes.count(it->first) ? files.readAll(notes[it->first].path) : std::nullopt;
      const std::string source = note ? NotedSource(*note) : "";
      const auto stamp = source.empty() ? std::nullopt : files.stamp(source);
      useless = !stamp || *note != CopyNote(source, *stamp) ||
                (now > copy.stamp.modified && now - copy.stamp.modified > rules.maxAge);
    }
    if (useless) {
      if (notes.count(it->first)) drop(notes[it->first].path);
      drop(copy.path);
      notes.erase(it->first);
      it = copies.erase(it);
    } else {
      ++it;
    }
  }
  if (sweep == Sweep::Whole)
    for (const auto& [stem, note] : notes)
      if (!copies.count(stem)) drop(note.path);

  std::vector<const CachedFile*> byAge;
  std::uint64_t total = 0;
  for (const auto& [stem, copy] : copies) {
    total += copy.stamp.size + (notes.count(stem) ? notes[stem].stamp.size : 0);
    if (!kept.count(Folded(copy.path))) byAge.push_back(&copy);
  }
  std::sort(byAge.begin(), byAge.end(),
            [](const CachedFile* a, const CachedFile* b) { return a->stamp.modified < b->stamp.modified; });
  for (const CachedFile* copy : byAge) {
    if (total <= rules.maxBytes) break;
    const std::string stem = Folded(Stem(copy->path));
    total -= copy->stamp.size + (notes.count(stem) ? notes[stem].stamp.size : 0);
    // The note first: a copy without its note is never handed out.
    if (notes.count(stem)) drop(notes[stem].path);
    drop(copy->path);
  }
  return removed;
}

}  // namespace orv
