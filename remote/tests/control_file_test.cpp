#include "remote/control_file.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/fake_services.h"

namespace orv {
namespace {

TEST(ControlFile, ABadValueRefusesTheWholeFileNamingTheLine) {
  struct Case {
    std::string text;
    int line;
    std::string says;
  };
  const std::vector<Case> cases = {
      {"prefixo D\ncodigo 482\n", 2, "de 4 a 8 caracteres"},
      {"prefixo D\ncodigo 48*1\n", 2, "entre 0-9 e A-D"},
      {"prefixo E\ncodigo 4821\n", 1, "uma letra de A a D"},
      {"codigo 4821\n", 1, "falta a linha prefixo"},
      {"prefixo D\ncodigo 4821\nprefixo C\n", 3, "j\xC3\xA1 apareceu na linha 1"},
      {"prefixo D\nc\xC3\xB3" "digo 4821\n", 2, "sem acento"},
      {"prefixo D\ncodigo 4821\nparado talvez\n", 3, "sim ou n\xC3\xA3o"},
      {"# a\n" + std::string(1 << 20, 'x') + "\nprefixo D\ncodigo 4821\n", 2, "mais de 1000 caracteres"},
  };
  for (const Case& c : cases) {
    const ControlFile f = ParseControlFile(c.text);
    EXPECT_EQ(f.badLine, c.line) << c.text.substr(0, 60);
    EXPECT_FALSE(f.settings.enabled());
    const std::string message = ControlRefusalMessage(f);
    EXPECT_NE(message.find(kControlFileName), std::string::npos);
    EXPECT_NE(message.find("(linha " + std::to_string(c.line) + ": "), std::string::npos) << message;
    EXPECT_NE(message.find(c.says), std::string::npos) << message;
    EXPECT_LT(message.size(), 400u);
  }
  // A near miss of the code is never repeated back.
  EXPECT_EQ(ControlRefusalMessage(ParseControlFile("prefixo D\ncodigo 482199999\n")).find("48219"), std::string::npos);
  // Exactly 1000 characters (accented ones count once) is still a line.
  std::string longest = "# ";
  while (longest.size() < 2 + 2 * 998) longest += "\xC3\xA9";
  EXPECT_FALSE(ParseControlFile(longest + "\nprefixo D\ncodigo 4821").refused());
  // The brake holds even in a refused file.
  const ControlFile refused = ParseControlFile("prefixo Z\nparado sim\n");
  EXPECT_TRUE(refused.refused());
  EXPECT_TRUE(refused.settings.stopped);
  // Only the stop's line changes: the bad line stays for the operator to mend.
  EXPECT_EQ(FormatControlFile(WithStopped(refused, false)), "prefixo Z\r\n");
}

TEST(ControlFile, TheWindowsSettingsReplaceTheirLinesAndKeepTheRest) {
  // Seeded: files of comments, blank lines, other programs' keys and the
  // known keys in any order; whatever the window saves reads back as saved,
  // and every line that is not a known key stays, in order.
  std::mt19937 rng(20260518);
  const std::vector<std::string> others = {"# nota", "", "   ", "volume 3", "Tom 1000", "#prefixo A", "x"};
  const std::vector<std::string> known = {"prefixo B", "codigo 1234", "confirmacao ok.wav", "parado sim", "CODIGO DDDD"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    std::vector<std::string> kept;
    std::vector<bool> used(known.size(), false);
    const int n = static_cast<int>(rng() % 9);
    for (int i = 0; i < n; ++i) {
      if (rng() % 2) {
        const std::string& o = others[rng() % others.size()];
        text += o + "\r\n";
        kept.push_back(o);
      } else {
        const size_t k = rng() % known.size();
        if (used[k] || (k == 1 && used[4]) || (k == 4 && used[1])) continue;
        used[k] = true;
        text += known[k] + "\r\n";
      }
    }
    if ((used[1] || used[4]) && !used[0]) text = "prefixo B\r\n" + text;
    ControlFile file = ParseControlFile(text);
    ASSERT_FALSE(file.refused()) << text << file.problem;
    ControlSettings s;
    s.prefix = "ABCD"[rng() % 4];
    s.code = rng() % 4 ? std::string("0123456789ABCD").substr(rng() % 6, 4 + rng() % 5) : "";
    s.confirmation = rng() % 2 ? "confirma.wav" : "";
    s.stopped = rng() % 2;
    const ControlFile saved = ParseControlFile(FormatControlFile(WithSettings(file, s)));
    ASSERT_FALSE(saved.refused()) << saved.problem;
    EXPECT_EQ(saved.settings.prefix, s.prefix);
    EXPECT_EQ(saved.settings.code, s.code);
    EXPECT_EQ(saved.settings.confirmation, s.confirmation);
    EXPECT_EQ(saved.settings.stopped, s.stopped);
    std::vector<std::string> after;
    for (const ControlLine& line : saved.lines)
      if (line.kind == ControlLine::Kind::Other) after.push_back(line.text);
    if (!file.lines.empty()) {
      EXPECT_EQ(after, kept) << text;
    }
  }
  // Refused lines are left out when the window writes a whole new setting.
  const ControlFile bad = ParseControlFile("# mine\nprefixo Q\ncodigo 12\n");
  ControlSettings s;
  s.prefix = 'A';
  s.code = "2468";
  EXPECT_EQ(FormatControlFile(WithSettings(bad, s)), "# mine\r\nprefixo A\r\ncodigo 2468\r\n");
}

TEST(ControlFile, SavingKeepsTheBackupAndAFailureChangesNothing) {
  test::FakeFileSystem files;
  test::FakeLocale locale;
  EXPECT_FALSE(ReadControlFile(files, locale).has_value());
  files.files[kControlFileName] = "prefixo C\r\ncodigo 9999\r\n";
  auto read = ReadControlFile(files, locale);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(SaveControlFile(files, WithStopped(*read, true)), "");
  EXPECT_EQ(files.files[kControlBackupName], "prefixo C\r\ncodigo 9999\r\n");
  EXPECT_EQ(files.files[kControlFileName], "prefixo C\r\ncodigo 9999\r\nparado sim\r\n");
  files.failWrites = true;
  const std::string error = SaveControlFile(files, WithStopped(*read, false));
  EXPECT_NE(error.find(kControlFileName), std::string::npos);
  EXPECT_EQ(files.files[kControlFileName], "prefixo C\r\ncodigo 9999\r\nparado sim\r\n");
  // A file that is there but cannot be read is refused, with the reason.
  files.unreadable.push_back(kControlFileName);
  read = ReadControlFile(files, locale);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(read->refused());
  EXPECT_NE(ControlRefusalMessage(*read).find(files.readError), std::string::npos);
  // An accented name goes out as marked UTF-8 and reads back the same.
  ControlSettings s;
  s.confirmation = "confirma\xC3\xA7\xC3\xA3o.wav";
  const std::string text = FormatControlFile(WithSettings(ControlFile{}, s));
  EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(ParseControlFile(text).settings.confirmation, s.confirmation);
  // Written in the code page by an old editor, read as such.
  files.unreadable.clear();
  files.files[kControlFileName] = "prefixo A\r\ncodigo 1234\r\nconfirmacao confirma\xE7\xE3o.wav\r\n";
  EXPECT_EQ(ReadControlFile(files, locale)->settings.confirmation, "confirma\xC3\xA7\xC3\xA3o.wav");
}

}  // namespace
}  // namespace orv
