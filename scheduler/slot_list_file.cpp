#include "scheduler/slot_list_file.h"

#include "scheduler/existe_arquivo.h"
#include "scheduler/text_decoding.h"

namespace orv {

SlotListLines ParseSlotList(std::string_view bytes) {
  SlotListLines lines;
  std::size_t pos = 0;
  for (int n = 0; n < kSlotListLines && pos < bytes.size(); ++n) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(pos, end - pos);
    line = line.substr(0, line.find('\0'));  // a box cannot hold a NUL
    if (line.size() > kMaxSlotLineBytes) line = line.substr(0, kMaxSlotLineBytes);
    lines[n] = std::string(line);
    pos = end;
    if (pos < bytes.size()) {
      // A lone LF ends a line too: a file edited with a Unix-minded editor
      // must not run its lines together in one box.
      if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') ++pos;
      ++pos;
    }
  }
  return lines;
}

std::string FormatSlotList(const SlotListLines& lines) {
  std::string out;
  for (const auto& line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

EncodedSlotList EncodeSlotList(const SlotListLines& texts, const Locale& locale) {
  SlotListLines ansi;
  for (int n = 0; n < kSlotListLines; ++n) {
    if (texts[n].find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return {{}, n};
    auto a = locale.toAnsi(texts[n]);
    if (!a) return {{}, n};
    ansi[n] = std::move(*a);
  }
  std::string bytes = FormatSlotList(ansi);
  // ANSI bytes that happen to form UTF-8 ("Ã©" and the like) would read back
  // as other characters: such a list is written as marked UTF-8 instead, so
  // what was saved is always what is read.
  if (DecodeSlotList(bytes, locale) != texts) bytes = "\xEF\xBB\xBF" + FormatSlotList(texts);
  return {std::move(bytes), -1};
}

SlotListLines DecodeSlotList(std::string_view bytes, const Locale& locale) {
  return ParseSlotList(DecodeTextFile(bytes, locale));
}

std::string SlotListRefusalMessage(int line) {
  const bool name = line < kSlotCount;
  const int slot = line % kSlotCount + 1;
  return std::string(name ? "O nome do arquivo" : "O intervalo") + " da mensagem " + std::to_string(slot) +
         " tem caracteres que não podem ser gravados em " + kSlotListFileName + ". Nada foi gravado.";
}

SlotListFile::SlotListFile(FormControls& controls, FormServices& services) : c_(controls), s_(services) {}

void SlotListFile::showError(const std::string& text) {
  s_.dialogs->show(text, kProgramName, MsgButtons::Ok, MsgIcon::Error);
}

bool SlotListFile::save() {
  SlotListLines texts;
  for (int i = 0; i < kSlotCount; ++i) {
    texts[i] = c_.mens[i]->text();
    texts[kSlotCount + i] = c_.cont[i]->text();
  }
  const EncodedSlotList encoded = EncodeSlotList(texts, *s_.locale);
  if (encoded.refusedLine >= 0) {
    showError(SlotListRefusalMessage(encoded.refusedLine));
    return false;
  }
  const WriteResult r = s_.files->replaceAll(kSlotListFileName, encoded.bytes);
  if (!r.ok) {
    std::string text = "Não foi possível gravar as mensagens em " + kSlotListFileName;
    if (!r.error.empty()) text += ": " + r.error;
    showError(text + "\nNada foi alterado no arquivo.");
    return false;
  }
  return true;
}

void SlotListFile::read() {
  // An unreadable file reads as an empty one: every box empties, silently.
  const auto bytes = s_.files->readAll(kSlotListFileName);
  const SlotListLines lines = DecodeSlotList(bytes ? *bytes : std::string(), *s_.locale);
  for (int i = 0; i < kSlotCount; ++i) {
    c_.mens[i]->setText(lines[i]);
    c_.cont[i]->setText(lines[kSlotCount + i]);
  }
}

bool SlotListFile::readOnRequest() {
  if (!ExisteArquivo(*s_.files, kSlotListFileName)) {
    s_.dialogs->show("Grave as mensagens primeiro!", kProgramName, MsgButtons::Ok, MsgIcon::None);
    return false;
  }
  read();
  return true;
}

bool SlotListFile::readAtStartup() {
  if (!ExisteArquivo(*s_.files, kSlotListFileName)) return false;
  read();
  return true;
}

}  // namespace orv
