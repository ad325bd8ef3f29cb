#include "scheduler/slot_list_file.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/form_fixture.h"

using namespace orv;
using namespace orv::test;

namespace {

struct ListFixture : FormFixture {
  SlotListFile list{controls, services};
  std::string& file() { return files.files[kSlotListFileName]; }
  std::array<std::string, 18> boxes() const {
    std::array<std::string, 18> b;
    for (int i = 0; i < kSlotCount; ++i) {
      b[i] = mens[i].text();
      b[kSlotCount + i] = cont[i].text();
    }
    return b;
  }
  void setBoxes(const std::string& v) {
    for (int i = 0; i < kSlotCount; ++i) {
      mens[i].setText(v);
      cont[i].setText(v);
    }
  }
};

}  // namespace

TEST(SlotListFile, SaveWritesNamesThenIntervalsEachEndedByCrLf) {
  ListFixture f;
  f.mens[0].setText("ident.wav");
  f.cont[0].setText("600");
  f.mens[2].setText("aviso.wav");
  f.cont[2].setText("1800");
  ASSERT_TRUE(f.list.save());
  EXPECT_EQ(f.file(),
            "ident.wav\r\n\r\naviso.wav\r\n\r\n\r\n\r\n\r\n\r\n\r\n"
            "600\r\n0\r\n1800\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
  EXPECT_TRUE(f.dialogs.shown.empty());
  EXPECT_EQ(f.files.files.count("orvalen.bak"), 0u);  // nothing to keep the first time

  // Each save keeps the list it replaces.
  const std::string first = f.file();
  f.mens[0].setText("outro.wav");
  ASSERT_TRUE(f.list.save());
  EXPECT_EQ(f.files.files["orvalen.bak"], first);
  EXPECT_EQ(f.file().substr(0, 11), "outro.wav\r\n");
}

TEST(SlotListFile, RoundTripKeepsEveryBoxAsTyped) {
  ListFixture f;
  const char* names[] = {" lead and trail ", "a, b, c.wav", "\"quoted\" 'too'.wav", "ação é música.wav", "",
                         "€ ‰ Œ.wav",        "tab\there",   "C:\\outro\\x.wav",      "    "};
  for (int i = 0; i < kSlotCount; ++i) {
    f.mens[i].setText(names[i]);
    f.cont[i].setText(i % 2 ? " 30 " : "");
  }
  f.cont[8].setText("12abc");
  const auto before = f.boxes();
  ASSERT_TRUE(f.list.save());
  EXPECT_EQ(f.file().substr(0, 39), " lead and trail \r\na, b, c.wav\r\n\"quoted\"");
  EXPECT_NE(f.file().find("a\xE7\xE3o \xE9 m\xFAsica.wav\r\n"), std::string::npos);  // ANSI, not UTF-8
  f.setBoxes("x");
  ASSERT_TRUE(f.list.readOnRequest());
  EXPECT_EQ(f.boxes(), before);
  EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(SlotListFile, TextTheFileCannotHoldIsRefusedAndNamesTheBox) {
  ListFixture f;
  f.file() = "old";
  f.mens[2].setText("Ωmega.wav");  // no Windows-1252 form
  EXPECT_FALSE(f.list.save());
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.dialogs.shown[0].text,
            "O nome do arquivo da mensagem 3 tem caracteres que não podem ser gravados em orvalen.txt. "
            "Nada foi gravado.");
  EXPECT_EQ(f.dialogs.shown[0].title, "Orvalen");
  EXPECT_EQ(f.dialogs.shown[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(f.file(), "old");

  f.mens[2].setText("ok.wav");
  f.cont[4].setText("3\r\n0");  // would shift every later line
  EXPECT_FALSE(f.list.save());
  EXPECT_EQ(f.dialogs.shown.back().text.substr(0, 27), "O intervalo da mensagem 5 t");
  f.cont[4].setText("3\n");
  EXPECT_FALSE(f.list.save());
  EXPECT_EQ(f.file(), "old");
}

TEST(SlotListFile, FailedWriteKeepsTheOldFileWholeAndSaysSo) {
  ListFixture f;
  f.mens[0].setText("novo.wav");
  f.file() = "antigo.wav\r\n";
  f.files.failWrites = true;
  EXPECT_FALSE(f.list.save());
  EXPECT_EQ(f.file(), "antigo.wav\r\n");
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.dialogs.shown[0].text,
            "Não foi possível gravar as mensagens em orvalen.txt: Acesso negado.\nNada foi alterado no arquivo.");
  EXPECT_EQ(f.dialogs.shown[0].title, "Orvalen");
}

TEST(SlotListFile, ReadWithoutAFile) {
  ListFixture f;
  f.setBoxes("keep");
  EXPECT_FALSE(f.list.readOnRequest());
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  const auto& m = f.dialogs.shown[0];
  EXPECT_EQ(m.text, "Grave as mensagens primeiro!");
  EXPECT_EQ(m.title, "Orvalen");
  EXPECT_EQ(m.buttons, MsgButtons::Ok);
  EXPECT_EQ(m.icon, MsgIcon::None);
  EXPECT_EQ(f.mens[4].text(), "keep");

  EXPECT_FALSE(f.list.readAtStartup());  // silent at start-up
  EXPECT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.cont[4].text(), "keep");

  f.file() = "x";
  f.files.hidden[kSlotListFileName] = true;  // not a normal file: as absent
  EXPECT_FALSE(f.list.readOnRequest());
  EXPECT_EQ(f.dialogs.shown.size(), 2u);
}

TEST(SlotListFile, ShortFilesEmptyTheMissingBoxesUnreadableOnesLeaveThemAll) {
  ListFixture f;
  f.setBoxes("was");
  f.file() = "a.wav\r\nb.wav\r\n";
  EXPECT_TRUE(f.list.readAtStartup());
  EXPECT_EQ(f.mens[0].text(), "a.wav");
  EXPECT_EQ(f.mens[1].text(), "b.wav");
  EXPECT_EQ(f.mens[2].text(), "");
  EXPECT_EQ(f.cont[0].text(), "");  // empty, not "0"

  // Locked by another program: the boxes stay, the message names the file
  // and the system's reason, at start-up as on "Ler".
  f.setBoxes("was");
  f.files.unreadable.push_back(kSlotListFileName);
  EXPECT_FALSE(f.list.readOnRequest());
  EXPECT_FALSE(f.list.readAtStartup());
  EXPECT_TRUE(f.list.unreadable());
  for (const auto& b : f.boxes()) EXPECT_EQ(b, "was");
  ASSERT_EQ(f.dialogs.shown.size(), 2u);
  EXPECT_EQ(f.dialogs.shown[0].text,
            "N\xC3\xA3o foi poss\xC3\xADvel ler as mensagens de orvalen.txt: " + f.files.readError +
                "\nAs mensagens n\xC3\xA3o foram carregadas.");
  EXPECT_EQ(f.dialogs.shown[1].icon, MsgIcon::Error);
}

TEST(SlotListFile, LineEnds) {
  // CR LF, lone CR and lone LF each end one line; CR LF is one end, not two.
  auto lines = ParseSlotList("a\r\nb\rc\nd\n\re\r\n\r\nf");
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1], "b");
  EXPECT_EQ(lines[2], "c");
  EXPECT_EQ(lines[3], "d");
  EXPECT_EQ(lines[4], "");  // LF then CR: two ends
  EXPECT_EQ(lines[5], "e");
  EXPECT_EQ(lines[6], "");
  EXPECT_EQ(lines[7], "f");
  EXPECT_EQ(lines[8], "");

  std::string lf, cr;
  for (int i = 1; i <= 18; ++i) {
    lf += std::to_string(i) + "\n";
    cr += std::to_string(i) + "\r";
  }
  for (const std::string& bytes : {lf, cr}) {
    ListFixture f;
    f.file() = bytes;
    f.list.readOnRequest();
    EXPECT_EQ(f.mens[0].text(), "1");
    EXPECT_EQ(f.mens[8].text(), "9");
    EXPECT_EQ(f.cont[0].text(), "10");
    EXPECT_EQ(f.cont[8].text(), "18");
  }
  // Lines past the 18th are ignored.
  EXPECT_EQ(ParseSlotList(lf + "19\r\n20")[17], "18");
}

TEST(SlotListFile, HugeLinesAreCutAndTheRestStillReads) {
  ListFixture f;
  f.file() = std::string(1 << 20, 'x') + "\r\nsecond.wav\r\n";
  EXPECT_TRUE(f.list.readOnRequest());
  EXPECT_EQ(f.mens[0].text().size(), kMaxSlotLineBytes);
  EXPECT_EQ(f.mens[1].text(), "second.wav");

  auto lines = ParseSlotList(std::string("ab\0cd\r\nok", 9));
  EXPECT_EQ(lines[0], "ab");  // a box ends at NUL
  EXPECT_EQ(lines[1], "ok");
}

TEST(SlotListFile, BinaryJunkNeverCrashesAndReadsBackAsItWasRead) {
  std::mt19937 rng(12345);
  FakeLocale locale;
  for (int round = 0; round < 300; ++round) {
    std::string junk(rng() % 3000, '\0');
    for (char& c : junk) c = static_cast<char>(rng() % 7 == 0 ? "\r\n\0"[rng() % 3] : rng());
    const SlotListLines once = ParseSlotList(junk);
    // Whatever was read is written back the same and reads the same again.
    EXPECT_EQ(ParseSlotList(FormatSlotList(once)), once);
    const SlotListLines text = DecodeSlotList(junk, locale);
    const auto encoded = EncodeSlotList(text, locale);
    if (encoded.refusedLine < 0) {
      EXPECT_EQ(DecodeSlotList(encoded.bytes, locale), text);
    }
  }
}
