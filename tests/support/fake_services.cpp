#include "tests/support/fake_services.h"

#include <algorithm>

namespace orv::test {

namespace {

bool wildMatch(const char* p, const char* s) {
  for (; *p; ++p, ++s) {
    if (*p == '*') {
      for (;; ++s) {
        if (wildMatch(p + 1, s)) return true;
        if (!*s) return false;
      }
    }
    if (!*s) return false;
    if (*p != '?' && std::tolower(static_cast<unsigned char>(*p)) != std::tolower(static_cast<unsigned char>(*s)))
      return false;
  }
  return *s == 0;
}

// Windows-1252 0x80..0x9F; 0 marks the five unassigned codes.
const char32_t kHigh[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

ListResult FakeFileSystem::listNormalFiles(const std::string& pattern) {
  if (std::find(unlistable.begin(), unlistable.end(), pattern) != unlistable.end() ||
      pattern.find_first_of("<>|\"") != std::string::npos)
    return {false, 0, "invalid file name"};
  std::string pat = pattern;
  if (!pat.empty() && pat.back() == '\\') pat += "*";
  int n = 0;
  for (const auto& [path, content] : files) {
    if (hidden.count(path) && hidden.at(path)) continue;
    if (wildMatch(pat.c_str(), path.c_str())) ++n;
  }
  return {true, n, {}};
}

std::optional<std::string> FakeFileSystem::readAll(const std::string& path, std::string* error) {
  auto it = files.find(path);
  const bool locked = std::find(unreadable.begin(), unreadable.end(), path) != unreadable.end();
  if (it == files.end() || locked) {
    if (error) *error = locked ? readError : "O sistema n\xC3\xA3o pode encontrar o arquivo especificado.";
    return std::nullopt;
  }
  return it->second;
}

WriteResult FakeFileSystem::replaceAll(const std::string& path, const std::string& bytes,
                                       const std::string& backupPath) {
  if (failWrites) return {false, "Acesso negado."};
  if (auto old = files.find(path); !backupPath.empty() && old != files.end()) files[backupPath] = old->second;
  files[path] = bytes;
  return {};
}

std::optional<std::string> FakeLocale::toAnsi(const std::string& utf8) const {
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = utf8[i];
    char32_t cp;
    int len;
    if (c < 0x80) { cp = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
    else return std::nullopt;
    if (i + len > utf8.size()) return std::nullopt;
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (utf8[i + k] & 0x3F);
    i += len;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
      out += static_cast<char>(cp);
      continue;
    }
    auto it = std::find(std::begin(kHigh), std::end(kHigh), cp);
    if (cp == 0 || it == std::end(kHigh)) return std::nullopt;
    out += static_cast<char>(0x80 + (it - std::begin(kHigh)));
  }
  return out;
}

std::string FakeLocale::fromAnsi(const std::string& ansi) const {
  std::string out;
  for (unsigned char c : ansi) {
    char32_t cp = c;
    if (c >= 0x80 && c < 0xA0) cp = kHigh[c - 0x80] ? kHigh[c - 0x80] : c;
    appendUtf8(out, cp);
  }
  return out;
}

struct FakePlayback::Graph : PlaybackGraph {
  explicit Graph(FakePlayback& o) : owner(o) {}
  ~Graph() override {
    owner.released++;
    owner.live--;
    owner.log.push_back("release");
  }
  bool renderFile(const std::string& path) override {
    owner.log.push_back("render(" + path + ")");
    auto it = owner.lengths.find(path);
    if (it == owner.lengths.end()) return false;
    length = it->second;
    rendered = true;
    return true;
  }
  bool run() override {
    owner.log.push_back("run");
    if (owner.runFails) return false;
    if (!rendered) return true;  // as the real graph manager: Run succeeds on an empty graph
    running = true;
    startedAt = owner.now ? owner.now() : 0;
    return true;
  }
  std::optional<double> duration() override {
    if (!rendered) return std::nullopt;
    return length + owner.durationError;
  }
  std::optional<double> currentPosition() override {
    if (!rendered) return std::nullopt;
    if (!running || owner.stalled || !owner.now) return offset;
    return std::min(length, offset + (owner.now() - startedAt));
  }
  bool setCurrentPosition(double s) override {
    owner.log.push_back("seek(" + std::to_string(static_cast<long long>(s)) + ")");
    if (!rendered) return false;
    offset = s;
    startedAt = owner.now ? owner.now() : 0;
    return true;
  }
  bool setVolume(long v) override {
    owner.log.push_back("volume(" + std::to_string(v) + ")");
    if (!rendered) return false;
    volume = v;
    return true;
  }
  FakePlayback& owner;
  double length = 0, offset = 0, startedAt = 0;
  bool rendered = false, running = false;
  long volume = 0;
};

std::unique_ptr<PlaybackGraph> FakePlayback::create() {
  log.push_back("create");
  if (createFails) return nullptr;
  created++;
  live++;
  return std::make_unique<Graph>(*this);
}

}  // namespace orv::test
