#pragma once
// The slot list file "orvalen.txt": the nine file names then the nine
// intervals, one line each, in the ANSI code page. The parse and format
// functions are pure so they can be fuzzed; SlotListFile does the I/O and
// talks to the user.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "scheduler/form_controls.h"

namespace orv {

inline constexpr int kSlotListLines = 2 * kSlotCount;
inline const std::string kSlotListFileName = "orvalen.txt";
// The list as it was before the last "Gravar", kept so a mistaken save can be
// undone by hand.
inline const std::string kSlotListBackupName = "orvalen.bak";
// A single-line box holds at most this many characters; longer lines are cut
// on reading so a damaged file cannot flood the window.
inline constexpr std::size_t kMaxSlotLineBytes = 32767;

// Lines 0..8 the names (mens1..mens9), 9..17 the intervals (cont1..cont9).
using SlotListLines = std::array<std::string, kSlotListLines>;

// Splits at CR LF, lone CR or lone LF. Missing lines are empty; each line is
// cut at its first NUL and at kMaxSlotLineBytes; anything after line 18 is
// ignored. Bytes are kept as they are (ANSI in, ANSI out).
SlotListLines ParseSlotList(std::string_view bytes);
// Each line followed by CR LF, the last one included.
std::string FormatSlotList(const SlotListLines& lines);

struct EncodedSlotList {
  std::string bytes;
  int refusedLine = -1;  // first line that the file cannot hold, or -1
};
// The boxes' UTF-8 texts as file bytes. A text with a character the ANSI code
// page lacks, or with a line break or NUL, would not read back as written:
// the whole list is refused and the line named.
EncodedSlotList EncodeSlotList(const SlotListLines& texts, const Locale& locale);
SlotListLines DecodeSlotList(std::string_view bytes, const Locale& locale);

// The message that names the slot and the box whose text cannot be written.
std::string SlotListRefusalMessage(int line);

class SlotListFile {
 public:
  SlotListFile(FormControls& controls, FormServices& services);
  SlotListFile(const SlotListFile&) = delete;
  SlotListFile& operator=(const SlotListFile&) = delete;

  // "Gravar". True when the file was replaced; otherwise a message was shown
  // and the old file is as it was.
  bool save();
  // "Ler". False (and "Grave as mensagens primeiro!") when there is no file.
  // A file that exists but cannot be read leaves the boxes as they are, says
  // why, and gives false.
  bool readOnRequest();
  // Start-up: reads the file when it exists, shows nothing when it does not.
  bool readAtStartup();
  // The last read found the file but could not read it.
  bool unreadable() const { return unreadable_; }

 private:
  bool read();
  void showError(const std::string& text);

  FormControls& c_;
  FormServices& s_;
  bool unreadable_ = false;
};

}  // namespace orv
