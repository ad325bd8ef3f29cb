#include "remote/dtmf_command.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Kind = DtmfReading::Kind;

std::string Read(const std::string& digits) {
  const DtmfReading r = ReadDtmfCommand(digits, 'D', "4821");
  switch (r.kind) {
    case Kind::NotForUs: return "-";
    case Kind::WrongCode: return "wrong code";
    case Kind::NoCommand: return "no command";
    case Kind::Unknown: return "unknown";
    case Kind::OutOfRange: return "out of range";
    case Kind::Command: return CommandName(r.command);
  }
  return "?";
}

TEST(DtmfCommand, EveryCommandAndWhatIsNotOne) {
  EXPECT_EQ(Read("D48210"), "parar");
  EXPECT_EQ(Read("D48219"), "retomar");
  EXPECT_EQ(Read("D482111"), "enviar slot 1");
  EXPECT_EQ(Read("D482129"), "desligar slot 9");
  EXPECT_EQ(Read("D482135"), "ligar slot 5");
  EXPECT_EQ(Read("D48214"), "hora certa");
  EXPECT_EQ(Read("D48215"), "identifica\xC3\xA7\xC3\xA3o");
  EXPECT_EQ(Read("d48210"), "parar");   // letters in either case
  // Slot numbers out of range, and commands that are not commands.
  EXPECT_EQ(Read("D482110"), "out of range");
  EXPECT_EQ(Read("D482130"), "out of range");
  EXPECT_EQ(Read("D4821210"), "out of range");
  EXPECT_EQ(Read("D4821199999999999999999999"), "out of range");
  for (const char* s : {"D48211", "D48211A", "D48211#", "D482100", "D48216", "D48218", "D4821A", "D4821*", "D482144"})
    EXPECT_EQ(Read(s), "unknown") << s;
  EXPECT_EQ(Read("D4821"), "no command");
  // Anything after the prefix that is not the code is a wrong code.
  for (const char* s : {"D", "D4", "D482", "D4822", "D14821", "DD48210", "D 48210"})
    EXPECT_EQ(Read(s), "wrong code") << s;
  // Not ours: EchoLink's own commands, the identification code, nothing.
  for (const char* s : {"", "48210", "A48210", "*123", "AA", "#"}) EXPECT_EQ(Read(s), "-") << s;
  // A string of ten thousand characters is read, not feared.
  EXPECT_EQ(Read("D4821" + std::string(10000, '1')), "out of range");
  EXPECT_EQ(Read("D" + std::string(10000, '4')), "wrong code");
}

TEST(DtmfCommand, TheHostLogNeverShowsWhatFollowsThePrefix) {
  EXPECT_EQ(MaskDtmfForLog("D482111", 'D'), "D******");
  EXPECT_EQ(MaskDtmfForLog("d48210", 'D'), "d*****");
  EXPECT_EQ(MaskDtmfForLog("AA", 'D'), "AA");
  EXPECT_EQ(MaskDtmfForLog("12345", 'D'), "12345");
  EXPECT_EQ(MaskDtmfForLog("", 'D'), "");
  // A prefix not known (a refused file): every string starting with A-D.
  EXPECT_EQ(MaskDtmfForLog("B1234", std::nullopt), "B****");
  EXPECT_EQ(MaskDtmfForLog("AA", std::nullopt), "A*");
  EXPECT_EQ(MaskDtmfForLog("*55", std::nullopt), "*55");
}

}  // namespace
}  // namespace orv
