#pragma once
// Stored button settings.
//
// Text form (what MemoryPropertyBag::toText writes and fromText reads), UTF-8:
//   one entry per line, "key=value", keys in lower case, in the order written;
//   lines are separated by "\n" ("\r\n" is read too); empty lines and lines
//   starting with "#" are skipped; a line without "=" is skipped; a key given
//   twice keeps its last value. Everything after the first "=" is the value.
// Values:
//   string   escaped: "\\" for a backslash, "\n" and "\r" for line breaks
//   32- and 16-bit integers   decimal ("-12"); "0x" hex is read too
//   colour   "0x" and 8 upper-case hex digits ("0x8000000F")
//   Boolean  "-1" (true) or "0" (false); "true", "false" and "1" are read too
//   font     "name;size;flags", size in points, flags from "b" bold,
//            "i" italic, "u" underline, "s" strikethrough ("Times New Roman;9.75;b")
//   picture  the picture's source as a string ("res:kw_gravar")
// A value that does not parse reads as the default.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "buttons/button_host.h"

namespace orv::buttons {

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The stored text of `key`, matched without regard to case.
  virtual std::optional<std::string> readRaw(std::string_view key) const = 0;
  virtual void writeRaw(std::string_view key, std::string_view text) = 0;
};

class MemoryPropertyBag : public PropertyBag {
 public:
  MemoryPropertyBag() = default;
  static MemoryPropertyBag fromText(std::string_view text);
  std::string toText() const;

  std::optional<std::string> readRaw(std::string_view key) const override;
  void writeRaw(std::string_view key, std::string_view text) override;

  const std::vector<std::pair<std::string, std::string>>& entries() const { return entries_; }

 private:
  std::vector<std::pair<std::string, std::string>> entries_;  // lower-case key, raw text
};

std::string LowerAscii(std::string_view s);

// Typed access. A write omits the value when it equals the default; no
// default (nullopt) means always written.
void WriteString(PropertyBag& bag, std::string_view key, const std::string& v,
                 std::optional<std::string> def);
void WriteLong(PropertyBag& bag, std::string_view key, std::int32_t v, std::optional<std::int32_t> def);
void WriteInteger(PropertyBag& bag, std::string_view key, std::int16_t v, std::optional<std::int16_t> def);
void WriteColor(PropertyBag& bag, std::string_view key, OleColor v, std::optional<OleColor> def);
void WriteBool(PropertyBag& bag, std::string_view key, bool v, std::optional<bool> def);
void WriteFont(PropertyBag& bag, std::string_view key, const FontDesc& v);  // an object: always written
void WritePicture(PropertyBag& bag, std::string_view key, const Picture& v);  // none is not written

std::string ReadString(const PropertyBag& bag, std::string_view key, const std::string& def);
std::int32_t ReadLong(const PropertyBag& bag, std::string_view key, std::int32_t def);
std::int16_t ReadInteger(const PropertyBag& bag, std::string_view key, std::int16_t def);
OleColor ReadColor(const PropertyBag& bag, std::string_view key, OleColor def);
bool ReadBool(const PropertyBag& bag, std::string_view key, bool def);
FontDesc ReadFont(const PropertyBag& bag, std::string_view key, const FontDesc& def);
Picture ReadPicture(const PropertyBag& bag, std::string_view key, const Picture& def);

// The text forms above, exposed for the tests and the Win32 side.
std::string EscapeValue(std::string_view s);
std::string UnescapeValue(std::string_view s);
std::string FontToText(const FontDesc& f);
std::optional<FontDesc> FontFromText(std::string_view s);

}  // namespace orv::buttons
