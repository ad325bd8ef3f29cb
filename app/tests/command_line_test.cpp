#include "app/command_line.h"

#include <gtest/gtest.h>

using orv::HostKind;
using orv::ParseCommandLine;

TEST(CommandLine, DefaultsToTheRealHostWithoutLog) {
  auto cl = ParseCommandLine({});
  EXPECT_EQ(cl.host, HostKind::Real);
  EXPECT_TRUE(cl.hostLog.empty());
  EXPECT_TRUE(cl.error.empty());
}

TEST(CommandLine, ReadsHostAndLog) {
  auto cl = ParseCommandLine({"--host=simulator", "--host-log=C:\\logs\\host log.txt"});
  EXPECT_EQ(cl.host, HostKind::Simulator);
  EXPECT_EQ(cl.hostLog, "C:\\logs\\host log.txt");
  EXPECT_TRUE(cl.error.empty());
  EXPECT_TRUE(cl.recordLog.empty());
  EXPECT_EQ(ParseCommandLine({"--log=envios.txt"}).recordLog, "envios.txt");
}

TEST(CommandLine, RejectsWhatItDoesNotKnow) {
  EXPECT_FALSE(ParseCommandLine({"--host=other"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--host-log="}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--log="}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--verbose"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"orvalen.txt"}).error.empty());
}

TEST(CommandLine, HelpAndVersion) {
  EXPECT_TRUE(ParseCommandLine({"--help"}).help);
  EXPECT_TRUE(ParseCommandLine({"--version"}).version);
}
