#include "agenda/agenda_file.h"

#include <cstdio>

#include "platform/civil_time.h"
#include "scheduler/text_decoding.h"

namespace orv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::optional<int> Number(std::string_view s) {
  if (s.empty() || s.size() > 4) return std::nullopt;
  int v = 0;
  for (char c : s) {
    if (!IsDigit(c)) return std::nullopt;
    v = v * 10 + (c - '0');
  }
  return v;
}

AgendaLine Unreadable(std::string_view text, std::string why) {
  AgendaLine line;
  line.kind = AgendaLine::Kind::Unreadable;
  line.text = std::string(text);
  line.problem = std::move(why);
  return line;
}

// Cuts the next word (up to a blank) off the front of `rest`.
std::string_view NextWord(std::string_view& rest) {
  size_t end = 0;
  while (end < rest.size() && !IsBlank(rest[end])) ++end;
  std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

constexpr size_t kQuoted = 40;

std::string Quoted(std::string_view s) {
  if (s.size() > kQuoted) return "\"" + std::string(s.substr(0, kQuoted)) + "...\"";
  return "\"" + std::string(s) + "\"";
}

}  // namespace

std::optional<AgendaDays> ParseAgendaDays(std::string_view text) {
  AgendaDays d;
  if (text == "todos") {
    d.every = true;
    return d;
  }
  if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
    auto y = Number(text.substr(0, 4)), m = Number(text.substr(5, 2)), day = Number(text.substr(8, 2));
    if (!y || !m || !day || *y < 1 || !IsValidDate(*y, *m, *day)) return std::nullopt;
    d.year = *y;
    d.month = *m;
    d.day = *day;
    return d;
  }
  while (true) {
    const size_t comma = text.find(',');
    const std::string_view name = text.substr(0, comma);
    int found = -1;
    for (int i = 0; i < 7; ++i)
      if (name == kDayNames[i]) found = i;
    if (found < 0) return std::nullopt;
    d.weekdays |= 1u << found;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return d;
}

AgendaLine ParseAgendaLine(std::string_view text) {
  AgendaLine line;
  line.text = std::string(text);
  std::string_view rest = TrimBlanks(text);
  if (rest.empty() || rest.front() == '#') return line;

  AgendaEntry& e = line.entry;
  if (rest.front() == '-') {
    e.enabled = false;
    rest = TrimBlanks(rest.substr(1));
  }
  const std::string_view time = NextWord(rest);
  const size_t colon = time.find(':');
  e.everyHour = colon == 1 && time.front() == '*';
  const auto h = e.everyHour ? std::optional<int>(0)
                 : colon == std::string_view::npos || colon < 1 || colon > 2 ? std::nullopt
                                                                            : Number(time.substr(0, colon));
  const auto m = colon == std::string_view::npos || time.size() - colon != 3 ? std::nullopt : Number(time.substr(colon + 1));
  if (!h || !m || *h > 23 || *m > 59)
    return Unreadable(text, "a hora " + Quoted(time) + " não é uma hora entre 00:00 e 23:59 nem *:MM (toda hora)");
  e.hour = *h;
  e.minute = *m;

  rest = TrimBlanks(rest);
  const std::string_view daysText = NextWord(rest);
  if (daysText.empty()) return Unreadable(text, "faltam os dias e o arquivo");
  const auto days = ParseAgendaDays(daysText);
  if (!days)
    return Unreadable(text, "os dias " + Quoted(daysText) +
                                " não são \"todos\", uma lista como \"seg,qua,sex\" nem uma data AAAA-MM-DD");
  e.days = *days;

  const std::string_view file = TrimBlanks(rest);
  if (file.empty()) return Unreadable(text, "falta o nome do arquivo");
  e.file = std::string(file);
  line.kind = AgendaLine::Kind::Entry;
  return line;
}

AgendaFile ParseAgenda(std::string_view utf8) {
  AgendaFile file;
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t end = utf8.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = utf8.size();
    std::string_view text = utf8.substr(pos, end - pos);
    file.lines.push_back(ParseAgendaLine(text));
    pos = end;
    if (pos < utf8.size()) {
      if (utf8[pos] == '\r' && pos + 1 < utf8.size() && utf8[pos + 1] == '\n') ++pos;
      ++pos;
    }
  }
  return file;
}

std::string FormatAgenda(const AgendaFile& file) {
  std::string out;
  for (const auto& line : file.lines) {
    out += line.text;
    out += "\r\n";
  }
  return out;
}

std::string FormatAgendaTime(const AgendaEntry& e) {
  char buf[8];
  if (e.everyHour) std::snprintf(buf, sizeof buf, "*:%02d", e.minute % 100);
  else std::snprintf(buf, sizeof buf, "%02d:%02d", e.hour % 100, e.minute % 100);
  return buf;
}

bool IsTimeAnnouncement(std::string_view file) {
  if (file.size() != kTimeAnnouncementName.size()) return false;
  for (size_t i = 0; i < file.size(); ++i) {
    const char c = file[i] >= 'A' && file[i] <= 'Z' ? static_cast<char>(file[i] - 'A' + 'a') : file[i];
    if (c != kTimeAnnouncementName[i]) return false;
  }
  return true;
}

std::string FormatAgendaDays(const AgendaDays& d) {
  if (d.every) return "todos";
  if (d.onDate()) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year % 10000, d.month % 100, d.day % 100);
    return buf;
  }
  std::string out;
  for (int i = 0; i < 7; ++i) {
    if (!(d.weekdays & (1u << i))) continue;
    if (!out.empty()) out += ',';
    out += kDayNames[i];
  }
  return out;
}

std::string FormatAgendaEntry(const AgendaEntry& e) {
  return (e.enabled ? "" : "-") + FormatAgendaTime(e) + " " + FormatAgendaDays(e.days) + " " + e.file;
}

std::string UnreadableLinesMessage(const AgendaFile& file) {
  constexpr int kShown = 12;
  std::string list;
  int count = 0;
  for (size_t i = 0; i < file.lines.size(); ++i) {
    if (file.lines[i].kind != AgendaLine::Kind::Unreadable) continue;
    if (++count <= kShown) list += "\r\nlinha " + std::to_string(i + 1) + ": " + file.lines[i].problem;
  }
  if (count == 0) return {};
  if (count > kShown) list += "\r\n... e mais " + std::to_string(count - kShown);
  return std::string(count == 1 ? "Uma linha" : std::to_string(count) + " linhas") + " de " + kAgendaFileName +
         (count == 1 ? " não pôde ser lida e foi deixada" : " não puderam ser lidas e foram deixadas") +
         " de lado; " + (count == 1 ? "ela continua no arquivo como está." : "elas continuam no arquivo como estão.") +
         list;
}

AgendaFile ReadAgendaFile(FileSystem& files, const Locale& locale) {
  const auto bytes = files.readAll(kAgendaFileName);
  if (!bytes) return {};
  return ParseAgenda(DecodeTextFile(*bytes, locale));
}

std::string SaveAgendaFile(FileSystem& files, const Locale& locale, const AgendaFile& file) {
  std::string bytes;
  for (size_t i = 0; i < file.lines.size(); ++i) {
    const std::string& text = file.lines[i].text;
    auto ansi = text.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos ? locale.toAnsi(text) : std::nullopt;
    if (!ansi)
      return "A linha " + std::to_string(i + 1) + " da agenda tem caracteres que não podem ser gravados em " +
             kAgendaFileName + ". Nada foi gravado.";
    bytes += *ansi + "\r\n";
  }
  // ANSI bytes that happen to form UTF-8 would read back as other
  // characters: such an agenda is written as marked UTF-8, like the slot list.
  const AgendaFile back = ParseAgenda(DecodeTextFile(bytes, locale));
  bool same = back.lines.size() == file.lines.size();
  for (size_t i = 0; same && i < back.lines.size(); ++i) same = back.lines[i].text == file.lines[i].text;
  if (!same) bytes = "\xEF\xBB\xBF" + FormatAgenda(file);
  // The previous file becomes the backup first: a save that fails halfway
  // leaves either the old agenda in place or the backup holding it.
  if (auto old = files.readAll(kAgendaFileName)) {
    if (const WriteResult r = files.replaceAll(kAgendaBackupName, *old); !r.ok)
      return "Não foi possível guardar a agenda anterior em " + kAgendaBackupName + ": " + r.error +
             "\r\nNada foi gravado.";
  }
  if (const WriteResult r = files.replaceAll(kAgendaFileName, bytes); !r.ok)
    return "Não foi possível gravar a agenda em " + kAgendaFileName + ": " + r.error + "\r\nNada foi alterado no arquivo.";
  return {};
}

}  // namespace orv
