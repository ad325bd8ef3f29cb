#pragma once
// The remote control's settings, orvalen-controle.txt beside orvalen.txt:
// one "key value" line each, "#" comments.
//   prefixo D                 the letter (A-D) that starts every command
//   codigo 4821               the access code: 4 to 8 of 0-9 and A-D
//   confirmacao confirma.wav  optional: the answer to an accepted command
//   parado sim                written while the station is stopped
// Keys are ASCII and read in either case. Lines the program does not know
// stay as they are when it writes the file. One bad value, or one line over
// 1,000 characters, refuses the whole file: remote control stays off.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/locale.h"

namespace orv {

inline const std::string kControlFileName = "orvalen-controle.txt";
inline const std::string kControlBackupName = "orvalen-controle.bak";
inline constexpr std::size_t kControlLineLimit = 1000;
inline constexpr std::size_t kCodeShortest = 4, kCodeLongest = 8;

struct ControlSettings {
  char prefix = 0;              // 'A'..'D'; 0 when not set
  std::string code;             // empty when not set
  std::string confirmation;     // a message file's name; empty for none
  bool stopped = false;
  // Remote control answers only with both a prefix and a code.
  bool enabled() const { return prefix != 0 && !code.empty(); }
};

struct ControlLine {
  enum class Kind { Other, Prefix, Code, Confirmation, Stopped };
  Kind kind = Kind::Other;      // Other: comments, blank lines, keys of others
  std::string text;             // as read (UTF-8), without its line end
  bool bad = false;             // refused; never written back
};

struct ControlFile {
  std::vector<ControlLine> lines;
  ControlSettings settings;
  // Set when the file is refused: the 1-based line and why, in the
  // program's words. `stopped` is still read from a refused file: a typo
  // elsewhere must not put a stopped station back on the air.
  int badLine = 0;
  std::string problem;
  bool refused() const { return badLine != 0; }
};

ControlFile ParseControlFile(std::string_view utf8);

// Whether `code` can be an access code, and `c` a prefix.
bool IsValidCode(std::string_view code);
bool IsValidPrefix(char c);

// The file with `settings` in it: the known keys' lines take the new values
// (added at the end when missing, dropped when the value is empty or off),
// every other line kept as it was. Lines that were refused are dropped
// (the backup keeps them).
ControlFile WithSettings(const ControlFile& file, const ControlSettings& settings);
// The file with only its "parado" line changed: every other line, even a
// refused one, stays word for word.
ControlFile WithStopped(const ControlFile& file, bool stopped);
std::string FormatControlFile(const ControlFile& file);

// The message naming the file and the refused line.
std::string ControlRefusalMessage(const ControlFile& file);

// Nothing when the file is missing; an empty, refused file (with the
// system's reason) when it cannot be read.
std::optional<ControlFile> ReadControlFile(FileSystem& files, const Locale& locale);
// Written to a new file and put in place, the previous one kept as the
// backup. Empty on success; otherwise the message to show.
std::string SaveControlFile(FileSystem& files, const ControlFile& file);

}  // namespace orv
