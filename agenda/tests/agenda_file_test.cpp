#include "agenda/agenda_file.h"

#include <gtest/gtest.h>

#include "tests/support/fake_services.h"

namespace orv {
namespace {

using Kind = AgendaLine::Kind;

TEST(AgendaFile, ReadsEntriesCommentsAndSwitchedOffLines) {
  const AgendaFile f = ParseAgenda(
      "# rede de terça\r\n"
      "19:50 ter sala da rede.wav\r\n"
      "\r\n"
      "-07:05 todos C:\\Mensagens\\bom dia.wav  \r\n"
      "23:59 dom,seg,sab fim.wav\n"
      "00:00 2026-12-24 natal.wav");
  ASSERT_EQ(f.lines.size(), 6u);
  EXPECT_EQ(f.lines[0].kind, Kind::Comment);
  EXPECT_EQ(f.lines[2].kind, Kind::Comment);
  const AgendaEntry& net = f.lines[1].entry;
  EXPECT_EQ(f.lines[1].kind, Kind::Entry);
  EXPECT_EQ(net.hour * 100 + net.minute, 1950);
  EXPECT_EQ(net.days.weekdays, 1u << 2);
  EXPECT_EQ(net.file, "sala da rede.wav");
  EXPECT_TRUE(net.enabled);
  const AgendaEntry& off = f.lines[3].entry;
  EXPECT_FALSE(off.enabled);
  EXPECT_TRUE(off.days.every);
  EXPECT_EQ(off.file, "C:\\Mensagens\\bom dia.wav");
  EXPECT_EQ(f.lines[4].entry.days.weekdays, 0b1000011u);
  EXPECT_EQ(FormatAgendaDays(f.lines[5].entry.days), "2026-12-24");
  EXPECT_EQ(FormatAgendaEntry(off), "-07:05 todos C:\\Mensagens\\bom dia.wav");
}

TEST(AgendaFile, UnreadableLinesAreKeptWordForWordAndReportedInOneMessage) {
  const std::string text =
      "24:00 todos a.wav\r\n"
      "12:00 terça a.wav\r\n"
      "12:00 2026-02-30 a.wav\r\n"
      "12:00 todos   \r\n"
      "7h30 seg a.wav\r\n"
      "12:00 seg,,qua a.wav\r\n"
      "- \r\n";
  const AgendaFile f = ParseAgenda(text);
  for (const auto& line : f.lines) EXPECT_EQ(line.kind, Kind::Unreadable) << line.text;
  EXPECT_EQ(FormatAgenda(f), text);
  const std::string message = UnreadableLinesMessage(f);
  EXPECT_NE(message.find("7 linhas"), std::string::npos);
  EXPECT_NE(message.find("linha 1: a hora \"24:00\""), std::string::npos);
  EXPECT_NE(message.find("linha 4: falta o nome do arquivo"), std::string::npos);
  EXPECT_EQ(UnreadableLinesMessage(ParseAgenda("# nada\r\n")), "");
}

TEST(AgendaFile, SavesInTheCodePageKeepingTheBackup) {
  test::FakeFileSystem files;
  test::FakeLocale locale;
  // UTF-8 from an editor reads as UTF-8; the program writes the code page.
  files.files[kAgendaFileName] = "\xEF\xBB\xBF# manh\xC3\xA3\r\nlixo\r\n";
  AgendaFile f = ReadAgendaFile(files, locale);
  ASSERT_EQ(f.lines.size(), 2u);
  f.lines.push_back(ParseAgendaLine("08:00 seg not\xC3\xAD" "cias.wav"));
  EXPECT_EQ(SaveAgendaFile(files, locale, f), "");
  EXPECT_EQ(files.files[kAgendaBackupName], "\xEF\xBB\xBF# manh\xC3\xA3\r\nlixo\r\n");
  EXPECT_EQ(files.files[kAgendaFileName], "# manh\xE3\r\nlixo\r\n08:00 seg not\xED" "cias.wav\r\n");

  // Code-page bytes that would read as UTF-8 are written as marked UTF-8.
  AgendaFile odd;
  odd.lines.push_back(ParseAgendaLine("08:00 seg \xC3\x83\xC2\xA9.wav"));
  EXPECT_EQ(SaveAgendaFile(files, locale, odd), "");
  EXPECT_EQ(ReadAgendaFile(files, locale).lines[0].entry.file, "\xC3\x83\xC2\xA9.wav");
  files.files[kAgendaFileName] = files.files[kAgendaBackupName];
  // A character the code page lacks, or a failing disk: nothing changes.
  f.lines.push_back(ParseAgendaLine("08:00 seg \xE2\x98\x83.wav"));
  EXPECT_NE(SaveAgendaFile(files, locale, f).find("linha 4"), std::string::npos);
  f.lines.pop_back();
  files.failWrites = true;
  EXPECT_NE(SaveAgendaFile(files, locale, f), "");
  EXPECT_EQ(files.files[kAgendaFileName], "# manh\xE3\r\nlixo\r\n08:00 seg not\xED" "cias.wav\r\n");
}

}  // namespace
}  // namespace orv
