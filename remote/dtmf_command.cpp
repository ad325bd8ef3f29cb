#include "remote/dtmf_command.h"

namespace orv {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWith(std::string_view s, std::string_view head) {
  if (s.size() < head.size()) return false;
  for (std::size_t i = 0; i < head.size(); ++i)
    if (Upper(s[i]) != Upper(head[i])) return false;
  return true;
}

bool AllDigits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return !s.empty();
}

}  // namespace

DtmfReading ReadDtmfCommand(std::string_view digits, char prefix, std::string_view code) {
  DtmfReading r;
  if (digits.empty() || Upper(digits[0]) != Upper(prefix)) return r;
  digits.remove_prefix(1);
  if (!StartsWith(digits, code)) {
    r.kind = DtmfReading::Kind::WrongCode;
    return r;
  }
  const std::string_view command = digits.substr(code.size());
  if (command.empty()) {
    r.kind = DtmfReading::Kind::NoCommand;
    return r;
  }
  r.kind = DtmfReading::Kind::Unknown;
  auto single = [&](CommandKind kind) {
    if (command.size() != 1) return;
    r.kind = DtmfReading::Kind::Command;
    r.command.kind = kind;
  };
  switch (command[0]) {
    case '0': single(CommandKind::Stop); break;
    case '9': single(CommandKind::Resume); break;
    case '4': single(CommandKind::SpeakTime); break;
    case '5': single(CommandKind::Identification); break;
    case '1':
    case '2':
    case '3': {
      const std::string_view slot = command.substr(1);
      if (!AllDigits(slot)) break;
      if (slot.size() != 1 || slot[0] == '0') {
        r.kind = DtmfReading::Kind::OutOfRange;
        break;
      }
      r.kind = DtmfReading::Kind::Command;
      r.command.kind = command[0] == '1'   ? CommandKind::SendSlot
                       : command[0] == '2' ? CommandKind::SlotOff
                                           : CommandKind::SlotOn;
      r.command.slot = slot[0] - '0';
      break;
    }
    default: break;
  }
  return r;
}

std::string CommandName(const RemoteCommand& c) {
  const std::string slot = " slot " + std::to_string(c.slot);
  switch (c.kind) {
    case CommandKind::Stop: return "parar";
    case CommandKind::Resume: return "retomar";
    case CommandKind::SendSlot: return "enviar" + slot;
    case CommandKind::SlotOff: return "desligar" + slot;
    case CommandKind::SlotOn: return "ligar" + slot;
    case CommandKind::SpeakTime: return "hora certa";
    case CommandKind::Identification: return "identifica\xC3\xA7\xC3\xA3o";
  }
  return {};
}

std::string MaskDtmfForLog(std::string_view digits, std::optional<char> prefix) {
  if (digits.empty()) return {};
  const char first = Upper(digits[0]);
  const bool masked = prefix ? first == Upper(*prefix) : (first >= 'A' && first <= 'D');
  if (!masked) return std::string(digits);
  return std::string(1, digits[0]) + std::string(digits.size() - 1, '*');
}

}  // namespace orv
