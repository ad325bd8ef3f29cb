#pragma once
// Commands from the radio: one DTMF string, the prefix letter, the access
// code and the command, nothing between them ("D48210").
//   0 stop   9 resume   1N send slot N now   2N switch slot N off
//   3N switch slot N on   4 speak the time   5 station identification
#include <optional>
#include <string>
#include <string_view>

namespace orv {

enum class CommandKind { Stop, Resume, SendSlot, SlotOff, SlotOn, SpeakTime, Identification };

struct RemoteCommand {
  CommandKind kind = CommandKind::Stop;
  int slot = 0;   // 1..9 for the slot commands
};

struct DtmfReading {
  enum class Kind {
    NotForUs,     // does not start with the prefix: EchoLink's own, or nothing
    WrongCode,
    NoCommand,    // the right code and nothing after it
    Unknown,
    OutOfRange,   // a slot command for a slot that does not exist
    Command,
  };
  Kind kind = Kind::NotForUs;
  RemoteCommand command;
};

// Letters are read in either case. `code` must be valid (see control_file.h).
DtmfReading ReadDtmfCommand(std::string_view digits, char prefix, std::string_view code);

// What the record shows in place of a file: "parar", "enviar slot 1", ...
std::string CommandName(const RemoteCommand& command);

// The digit string as the host log may show it: every character after a
// leading prefix masked. With no prefix known (a refused settings file),
// any string starting with a letter A-D is masked after it.
std::string MaskDtmfForLog(std::string_view digits, std::optional<char> prefix);

}  // namespace orv
