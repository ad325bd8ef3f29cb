#pragma once
// The agenda file, orvalen-agenda.txt: one line a message at a set time of
// the day, on set days of the week or on one date.
//   HH:MM DIAS ARQUIVO
//   19:50 ter sala-da-rede.wav
//   -07:00 todos C:\Mensagens\bom dia.wav      (switched off)
//   *:00 todos @hora                           (every hour: the time of day spoken)
//   # comments and empty lines
// Every line is kept as it was read; the program never drops one of the
// operator's lines, not even one it cannot read.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/locale.h"

namespace orv {

inline const std::string kAgendaFileName = "orvalen-agenda.txt";
inline const std::string kAgendaBackupName = "orvalen-agenda.bak";
inline const std::array<const char*, 7> kDayNames = {"dom", "seg", "ter", "qua", "qui", "sex", "sab"};

struct AgendaDays {
  bool every = false;         // "todos"
  unsigned weekdays = 0;      // bit 0 = Sunday ... bit 6 = Saturday
  int year = 0, month = 0, day = 0;   // one date, when year != 0
  bool onDate() const { return year != 0; }
};

// The file name that stands for the time of day, spoken from the clips of
// the hora folder when the entry falls due.
inline const std::string kTimeAnnouncementName = "@hora";
bool IsTimeAnnouncement(std::string_view file);

struct AgendaEntry {
  int hour = 0, minute = 0;
  bool everyHour = false;     // "*:MM": at minute MM of every hour; `hour` unused
  AgendaDays days;
  std::string file;
  bool enabled = true;
};

struct AgendaLine {
  enum class Kind { Comment, Entry, Unreadable };
  Kind kind = Kind::Comment;
  std::string text;           // the line as read (UTF-8), without its line end
  AgendaEntry entry;          // for Entry
  std::string problem;        // for Unreadable: why, in the program's words
};

struct AgendaFile {
  std::vector<AgendaLine> lines;   // line N of the file is lines[N - 1]
};

// Reads one line. Never fails: what cannot be read is Unreadable.
AgendaLine ParseAgendaLine(std::string_view text);
AgendaFile ParseAgenda(std::string_view utf8);
// The lines joined with CR LF, each ending with one.
std::string FormatAgenda(const AgendaFile& file);

std::string FormatAgendaTime(const AgendaEntry& e);   // "07:05", "*:30"
std::string FormatAgendaDays(const AgendaDays& d);    // "todos", "seg,qua", "2026-12-24"
std::optional<AgendaDays> ParseAgendaDays(std::string_view text);
// The line text for an entry, as the program writes it.
std::string FormatAgendaEntry(const AgendaEntry& e);

// The one message for the lines that could not be read, or empty.
std::string UnreadableLinesMessage(const AgendaFile& file);

// Reading at start-up: a missing or unreadable file is an empty agenda.
AgendaFile ReadAgendaFile(FileSystem& files, const Locale& locale);
// Writes in the ANSI code page, keeping the previous file as the backup.
// Empty on success; otherwise the message to show (nothing was changed).
std::string SaveAgendaFile(FileSystem& files, const Locale& locale, const AgendaFile& file);

}  // namespace orv
