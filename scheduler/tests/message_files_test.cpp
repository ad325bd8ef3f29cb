// Names and bytes of the operator's own files: absolute slot names, and slot
// lists saved as UTF-8 by current editors.
#include <gtest/gtest.h>

#include "scheduler/message_path.h"
#include "scheduler/slot_list_file.h"
#include "scheduler/text_decoding.h"
#include "tests/support/fake_services.h"

using namespace orv;

TEST(MessagePath, BareNamesLiveInTheProgramFolderAbsoluteOnesStandAsTheyAre) {
  const std::string folder = "C:\\Orvalen\\";
  EXPECT_EQ(MessagePath(folder, "ident.wav"), "C:\\Orvalen\\ident.wav");
  EXPECT_EQ(MessagePath(folder, "sub\\ident.wav"), "C:\\Orvalen\\sub\\ident.wav");
  EXPECT_EQ(MessagePath(folder, "D:\\msgs\\ident.wav"), "D:\\msgs\\ident.wav");
  EXPECT_EQ(MessagePath(folder, "d:/msgs/ident.wav"), "d:/msgs/ident.wav");
  EXPECT_EQ(MessagePath(folder, "\\\\server\\share\\ident.wav"), "\\\\server\\share\\ident.wav");
  // A drive-relative name is not absolute: kept as before. A root-relative
  // one is rooted on the folder's own drive or share, as Windows reads it.
  EXPECT_EQ(MessagePath(folder, "D:ident.wav"), "C:\\Orvalen\\D:ident.wav");
  EXPECT_EQ(MessagePath(folder, "\\ident.wav"), "C:\\ident.wav");
  EXPECT_EQ(MessagePath(folder, "/msgs/ident.wav"), "C:/msgs/ident.wav");
  EXPECT_EQ(MessagePath("\\\\srv\\radio\\orvalen\\", "\\ident.wav"), "\\\\srv\\radio\\ident.wav");
  EXPECT_FALSE(IsAbsoluteWindowsPath("1:\\x"));
  EXPECT_FALSE(IsAbsoluteWindowsPath(""));
}

TEST(MessagePath, DeviceNamesAreNoFileInAnyFolderWithAnyExtension) {
  for (const char* name : {"CON", "nul", "C:\\Orvalen\\NUL.wav", "aux.tar.gz", "COM1", "lpt9.wav", "Prn .wav",
                           "d:/x/com3"})
    EXPECT_TRUE(NamesADevice(name)) << name;
  for (const char* name : {"CONSOLE.wav", "COM0", "COM10", "LPT", "nul\\a.wav", "ident.wav", "", "C:\\con\\a.wav"})
    EXPECT_FALSE(NamesADevice(name)) << name;
}

TEST(TextDecoding, Utf8WithOrWithoutMarkIsTakenAsItIsOtherwiseAnsi) {
  test::FakeLocale ansi;
  const std::string utf8 = "a\xC3\xA7\xC3\xA3o.wav";  // "ação.wav"
  EXPECT_EQ(DecodeTextFile(utf8, ansi), utf8);
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF" + utf8, ansi), utf8);
  EXPECT_EQ(DecodeTextFile("a\xE7\xE3o.wav", ansi), utf8);  // Windows-1252
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF", ansi), "");
  EXPECT_EQ(DecodeTextFile("plain.wav", ansi), "plain.wav");
}

TEST(TextDecoding, RejectsWhatIsNotUtf8) {
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x93\xBB"));     // U+1F4FB
  EXPECT_FALSE(IsValidUtf8("\xC3"));                // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));            // overlong "/"
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));        // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));    // past U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\xE9t\xE9"));           // Latin-1 "été"
}

TEST(TextDecoding, AMarkedUtf8SlotListNeverPutsTheMarkInSlotOne) {
  test::FakeLocale ansi;
  const SlotListLines lines =
      DecodeSlotList("\xEF\xBB\xBFm\xC3\xBAsica.wav\r\nident.wav\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n60\r\n", ansi);
  EXPECT_EQ(lines[0], "m\xC3\xBAsica.wav");
  EXPECT_EQ(lines[1], "ident.wav");
  EXPECT_EQ(lines[9], "60");
}

TEST(TextDecoding, AnAnsiListThatWouldReadAsUtf8IsSavedAsMarkedUtf8) {
  test::FakeLocale ansi;
  SlotListLines texts;
  texts[0] = "\xC3\x83\xC2\xA9.wav";  // "Ã©.wav": in Windows-1252 the bytes C3 A9, which are UTF-8 "é"
  const EncodedSlotList out = EncodeSlotList(texts, ansi);
  ASSERT_EQ(out.refusedLine, -1);
  EXPECT_EQ(out.bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(DecodeSlotList(out.bytes, ansi), texts);
  // With any other accented name the file is no UTF-8 at all and reads as ANSI.
  texts[1] = "a\xC3\xA7\xC3\xA3o.wav";
  EXPECT_EQ(EncodeSlotList(texts, ansi).bytes.substr(0, 8), "\xC3\xA9.wav\r\n");
}
