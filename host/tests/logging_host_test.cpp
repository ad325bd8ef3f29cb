#include "host/logging_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/recording_host.h"
#include "tests/support/virtual_time.h"

namespace orv {
namespace {

class Events : public HostEvents {
 public:
  void onDtmfString(const std::string& d) override { seen.push_back("DTMF " + d); }
  void onClosing() override { seen.push_back("Closing"); }
  std::vector<std::string> seen;
};

class LoggingHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = std::filesystem::temp_directory_path() /
           ("orv_hostlog_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".log");
    std::filesystem::remove(path);
  }
  void TearDown() override { std::filesystem::remove(path); }

  std::vector<std::string> lines() const {
    std::ifstream in(path);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
  }

  std::filesystem::path path;
  test::VirtualTime time;
  test::RecordingHost inner;
};

TEST_F(LoggingHostTest, EveryCallIsPassedOnAndLoggedWithItsArgumentsAsTheyCrossTheBoundary) {
  time.setWallStart(14 * 3600 + 5 * 60 + 9);
  LoggingHost host(inner, time, path.string());
  ASSERT_TRUE(host.isOpen());
  inner.firstBusy = true;
  inner.station = "PY2XYZ-L";

  EXPECT_TRUE(host.setTransmit(true).ok);
  time.advance(std::chrono::milliseconds(7));
  EXPECT_TRUE(host.firstBusyFlag().value);
  EXPECT_FALSE(host.secondBusyFlag().value);
  host.sendIdentification(false);
  host.transmitFile("C:\\msg\\a.wav", true);
  EXPECT_EQ(host.stationName().value, "PY2XYZ-L");
  host.exitSignal(false);
  host.setTransmit(false);

  EXPECT_EQ(inner.calls, (std::vector<std::string>{"SetTransmit(-1)", "FirstBusyFlag", "SecondBusyFlag",
                                                   "SendIdentification(0)", "TransmitFile(C:\\msg\\a.wav,-1)",
                                                   "StationName", "ExitSignal(0)", "SetTransmit(0)"}));
  EXPECT_EQ(lines(), (std::vector<std::string>{
                         "2026-01-01 14:05:09.000 SetTransmit(-1)",
                         "2026-01-01 14:05:09.007 FirstBusyFlag -> -1",
                         "2026-01-01 14:05:09.007 SecondBusyFlag -> 0",
                         "2026-01-01 14:05:09.007 SendIdentification(0)",
                         "2026-01-01 14:05:09.007 TransmitFile(C:\\msg\\a.wav,-1)",
                         "2026-01-01 14:05:09.007 StationName -> PY2XYZ-L",
                         "2026-01-01 14:05:09.007 ExitSignal(0)",
                         "2026-01-01 14:05:09.007 SetTransmit(0)",
                     }));
}

TEST_F(LoggingHostTest, FailuresAreLoggedAndReturnedUnchanged) {
  LoggingHost host(inner, time, path.string());
  inner.fail("SetTransmit");
  inner.fail("SecondBusyFlag");
  inner.fail("StationName");

  auto r = host.setTransmit(true);
  auto b = host.secondBusyFlag();
  auto s = host.stationName();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "SetTransmit(-1) failed");
  EXPECT_FALSE(b.ok);
  EXPECT_FALSE(s.ok);
  EXPECT_EQ(lines(), (std::vector<std::string>{
                         "2026-01-01 12:00:00.000 SetTransmit(-1) FAILED: SetTransmit(-1) failed",
                         "2026-01-01 12:00:00.000 SecondBusyFlag FAILED: SecondBusyFlag failed",
                         "2026-01-01 12:00:00.000 StationName FAILED: StationName failed",
                     }));
}

TEST_F(LoggingHostTest, EventsAreLoggedAndForwardedOnlyWhileASinkIsSet) {
  Events events;
  LoggingHost host(inner, time, path.string());
  inner.raiseDtmf("AA");  // no sink yet: the inner host has none either
  EXPECT_EQ(inner.sink, nullptr);

  host.setEventSink(&events);
  inner.raiseDtmf("AA");
  inner.raiseClosing();
  host.setEventSink(nullptr);
  EXPECT_EQ(inner.sink, nullptr);
  inner.raiseClosing();

  EXPECT_EQ(events.seen, (std::vector<std::string>{"DTMF AA", "Closing"}));
  EXPECT_EQ(lines(), (std::vector<std::string>{"2026-01-01 12:00:00.000 event DTMFString(AA)",
                                               "2026-01-01 12:00:00.000 event Closing"}));
}

TEST_F(LoggingHostTest, RemoteDigitsCannotForgeLogLines) {
  Events events;
  LoggingHost host(inner, time, path.string());
  host.setEventSink(&events);
  inner.raiseDtmf("A\n2026-01-01 12:00:00.000 SetTransmit(-1)\r\\x41\x7f");

  auto l = lines();
  ASSERT_EQ(l.size(), 1u);
  EXPECT_EQ(l[0], "2026-01-01 12:00:00.000 event DTMFString(A\\x0A2026-01-01 12:00:00.000 SetTransmit(-1)\\x0D\\\\x41\\x7F)");
  // The program itself still gets the digits as they came.
  EXPECT_EQ(events.seen[0], "DTMF A\n2026-01-01 12:00:00.000 SetTransmit(-1)\r\\x41\x7f");
  EXPECT_EQ(LoggingHost::escape("a\tb"), "a\\x09b");
}

TEST_F(LoggingHostTest, DigitsAreWrittenAsTheMaskSaysAndPassedOnWhole) {
  Events events;
  LoggingHost host(inner, time, path.string());
  host.setEventSink(&events);
  host.setDtmfMask([](const std::string& d) { return d[0] == 'D' ? "D" + std::string(d.size() - 1, '*') : d; });
  inner.raiseDtmf("D482111");
  inner.raiseDtmf("AA");
  // The mask sees the digits before escaping: what it hides cannot leak as an escape.
  inner.raiseDtmf("D\n1");
  EXPECT_EQ(lines(), (std::vector<std::string>{"2026-01-01 12:00:00.000 event DTMFString(D******)",
                                               "2026-01-01 12:00:00.000 event DTMFString(AA)",
                                               "2026-01-01 12:00:00.000 event DTMFString(D**)"}));
  EXPECT_EQ(events.seen, (std::vector<std::string>{"DTMF D482111", "DTMF AA", "DTMF D\n1"}));
}

TEST_F(LoggingHostTest, AppendsToAnExistingLogAndFlushesEachLine) {
  { std::ofstream(path) << "earlier session\n"; }
  LoggingHost host(inner, time, path.string());
  host.setTransmit(false);
  // Readable while the host is still alive: nothing waits in a buffer.
  auto l = lines();
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0], "earlier session");
  EXPECT_EQ(l[1], "2026-01-01 12:00:00.000 SetTransmit(0)");
}

TEST_F(LoggingHostTest, AnUnwritableLogStillPassesCallsThrough) {
  LoggingHost host(inner, time, (path / "no" / "such" / "folder.log").string());
  EXPECT_FALSE(host.isOpen());
  EXPECT_TRUE(host.setTransmit(true).ok);
  EXPECT_EQ(inner.calls, std::vector<std::string>{"SetTransmit(-1)"});
}

TEST_F(LoggingHostTest, DestroyingTheLoggerDetachesItFromTheInnerHost) {
  Events events;
  {
    LoggingHost host(inner, time, path.string());
    host.setEventSink(&events);
    EXPECT_NE(inner.sink, nullptr);
  }
  EXPECT_EQ(inner.sink, nullptr);
}

}  // namespace
}  // namespace orv
