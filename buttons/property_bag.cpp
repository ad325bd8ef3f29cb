#include "buttons/property_bag.h"

#include <charconv>
#include <cstdio>

namespace orv::buttons {

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

MemoryPropertyBag MemoryPropertyBag::fromText(std::string_view text) {
  MemoryPropertyBag bag;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;
    bag.writeRaw(line.substr(0, eq), line.substr(eq + 1));
  }
  return bag;
}

std::string MemoryPropertyBag::toText() const {
  std::string out;
  for (const auto& [key, value] : entries_) out += key + "=" + value + "\n";
  return out;
}

std::optional<std::string> MemoryPropertyBag::readRaw(std::string_view key) const {
  const std::string k = LowerAscii(key);
  for (const auto& [name, value] : entries_)
    if (name == k) return value;
  return std::nullopt;
}

void MemoryPropertyBag::writeRaw(std::string_view key, std::string_view text) {
  std::string k = LowerAscii(key);
  for (auto& [name, value] : entries_)
    if (name == k) {
      value = std::string(text);
      return;
    }
  entries_.emplace_back(std::move(k), std::string(text));
}

std::string EscapeValue(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string UnescapeValue(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    char n = s[++i];
    out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
  }
  return out;
}

namespace {

std::optional<std::int64_t> ParseInteger(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  std::uint64_t v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (ec != std::errc{} || ptr != s.data() + s.size() || s.empty() || v > 0xFFFFFFFFull) return std::nullopt;
  auto r = static_cast<std::int64_t>(v);
  return negative ? -r : r;
}

std::string ColorText(OleColor c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(c));
  return buf;
}

std::string DoubleText(double d) {
  char buf[32];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, d);
  return std::string(buf, ptr);
}

}  // namespace

std::string FontToText(const FontDesc& f) {
  std::string flags;
  if (f.bold) flags += 'b';
  if (f.italic) flags += 'i';
  if (f.underline) flags += 'u';
  if (f.strikethrough) flags += 's';
  return EscapeValue(f.name) + ";" + DoubleText(f.size) + ";" + flags;
}

std::optional<FontDesc> FontFromText(std::string_view s) {
  // The name may hold ";" only in theory; split at the last two.
  size_t second = s.rfind(';');
  if (second == std::string_view::npos || second == 0) return std::nullopt;
  size_t first = s.rfind(';', second - 1);
  if (first == std::string_view::npos) return std::nullopt;
  FontDesc f;
  f.name = UnescapeValue(s.substr(0, first));
  std::string_view size = s.substr(first + 1, second - first - 1);
  auto [ptr, ec] = std::from_chars(size.data(), size.data() + size.size(), f.size);
  if (ec != std::errc{} || ptr != size.data() + size.size() || f.name.empty() || !(f.size > 0)) return std::nullopt;
  for (char c : s.substr(second + 1)) {
    switch (c) {
      case 'b': case 'B': f.bold = true; break;
      case 'i': case 'I': f.italic = true; break;
      case 'u': case 'U': f.underline = true; break;
      case 's': case 'S': f.strikethrough = true; break;
      default: return std::nullopt;
    }
  }
  return f;
}

void WriteString(PropertyBag& bag, std::string_view key, const std::string& v,
                 std::optional<std::string> def) {
  if (def && *def == v) return;
  bag.writeRaw(key, EscapeValue(v));
}

void WriteLong(PropertyBag& bag, std::string_view key, std::int32_t v, std::optional<std::int32_t> def) {
  if (def && *def == v) return;
  bag.writeRaw(key, std::to_string(v));
}

void WriteInteger(PropertyBag& bag, std::string_view key, std::int16_t v, std::optional<std::int16_t> def) {
  if (def && *def == v) return;
  bag.writeRaw(key, std::to_string(v));
}

void WriteColor(PropertyBag& bag, std::string_view key, OleColor v, std::optional<OleColor> def) {
  if (def && *def == v) return;
  bag.writeRaw(key, ColorText(v));
}

void WriteBool(PropertyBag& bag, std::string_view key, bool v, std::optional<bool> def) {
  if (def && *def == v) return;
  bag.writeRaw(key, v ? "-1" : "0");
}

void WriteFont(PropertyBag& bag, std::string_view key, const FontDesc& v) { bag.writeRaw(key, FontToText(v)); }

void WritePicture(PropertyBag& bag, std::string_view key, const Picture& v) {
  if (v.empty()) return;
  bag.writeRaw(key, EscapeValue(v.source));
}

std::string ReadString(const PropertyBag& bag, std::string_view key, const std::string& def) {
  auto raw = bag.readRaw(key);
  return raw ? UnescapeValue(*raw) : def;
}

std::int32_t ReadLong(const PropertyBag& bag, std::string_view key, std::int32_t def) {
  auto raw = bag.readRaw(key);
  if (!raw) return def;
  auto v = ParseInteger(*raw);
  // Hex spellings cover the unsigned range; they wrap as 32-bit values do.
  if (!v || *v < INT32_MIN) return def;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(*v));
}

std::int16_t ReadInteger(const PropertyBag& bag, std::string_view key, std::int16_t def) {
  auto raw = bag.readRaw(key);
  if (!raw) return def;
  auto v = ParseInteger(*raw);
  if (!v || *v < INT16_MIN || *v > 0xFFFF) return def;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(*v));
}

OleColor ReadColor(const PropertyBag& bag, std::string_view key, OleColor def) {
  auto raw = bag.readRaw(key);
  if (!raw) return def;
  auto v = ParseInteger(*raw);
  if (!v || *v < INT32_MIN) return def;
  return static_cast<OleColor>(*v);
}

bool ReadBool(const PropertyBag& bag, std::string_view key, bool def) {
  auto raw = bag.readRaw(key);
  if (!raw) return def;
  std::string v = LowerAscii(*raw);
  if (v == "-1" || v == "1" || v == "true") return true;
  if (v == "0" || v == "false") return false;
  return def;
}

FontDesc ReadFont(const PropertyBag& bag, std::string_view key, const FontDesc& def) {
  auto raw = bag.readRaw(key);
  if (!raw) return def;
  return FontFromText(*raw).value_or(def);
}

Picture ReadPicture(const PropertyBag& bag, std::string_view key, const Picture& def) {
  auto raw = bag.readRaw(key);
  if (!raw) return def;
  return Picture{UnescapeValue(*raw)};
}

}  // namespace orv::buttons
