#include "host/simulated_host.h"

#include <gtest/gtest.h>

#include "tests/support/virtual_time.h"

namespace orv {
namespace {

class Events : public HostEvents {
 public:
  void onDtmfString(const std::string& d) override { seen.push_back("DTMF " + d); }
  void onClosing() override { seen.push_back("Closing"); }
  std::vector<std::string> seen;
};

std::vector<std::string> texts(const SimulatedHost& h) {
  std::vector<std::string> out;
  for (const auto& c : h.calls()) out.push_back(c.text + (c.repeats > 1 ? " x" + std::to_string(c.repeats) : ""));
  return out;
}

TEST(SimulatedHost, AnswersWithTheOperatorsSettingsAndRecordsEveryCall) {
  test::VirtualTime time;
  time.setWallStart(9 * 3600);
  SimulatedHost host(&time);
  EXPECT_EQ(host.stationName().value, "PY2SIM-L");
  host.setStation("PY2ABC-R");
  host.setSecondBusy(true);
  EXPECT_EQ(host.stationName().value, "PY2ABC-R");
  EXPECT_FALSE(host.firstBusyFlag().value);
  EXPECT_TRUE(host.secondBusyFlag().value);
  EXPECT_TRUE(host.transmitFile("C:\\m\\a.wav", true).ok);
  EXPECT_TRUE(host.sendIdentification(false).ok);
  EXPECT_TRUE(host.exitSignal(false).ok);

  EXPECT_EQ(texts(host), (std::vector<std::string>{"StationName x2", "FirstBusyFlag", "SecondBusyFlag",
                                                   "TransmitFile(C:\\m\\a.wav,-1)", "SendIdentification(0)",
                                                   "ExitSignal(0)"}));
  EXPECT_EQ(host.calls().front().time, "09:00:00");
  EXPECT_EQ(host.totalCalls(), 7u);
}

TEST(SimulatedHost, TransmitterStateFollowsSetTransmitAndSettingsReportOnlyChanges) {
  SimulatedHost host;
  int changes = 0;
  host.onStateChange = [&] { changes++; };
  host.setTransmit(false);
  EXPECT_EQ(changes, 0);
  host.setTransmit(true);
  EXPECT_TRUE(host.transmitting());
  host.setTransmit(true);
  host.setTransmit(false);
  EXPECT_FALSE(host.transmitting());
  EXPECT_EQ(changes, 2);
  host.setFirstBusy(true);
  host.setFirstBusy(true);
  host.setStation("X");
  host.setStation("X");
  EXPECT_EQ(changes, 4);
}

TEST(SimulatedHost, RepeatedCallsShareAnEntryAndTheListIsBounded) {
  SimulatedHost host;
  std::vector<bool> merges;
  host.onCall = [&](const SimulatedHost::Call&, bool merged) { merges.push_back(merged); };
  for (int i = 0; i < 3600; ++i) host.setTransmit(false);  // an idle hour
  EXPECT_EQ(host.calls().size(), 1u);
  EXPECT_EQ(host.calls().front().repeats, 3600);
  EXPECT_FALSE(merges.front());
  EXPECT_TRUE(merges.back());

  for (std::size_t i = 0; i < SimulatedHost::kMaxCalls + 10; ++i) host.setTransmit(i % 2 == 0);
  EXPECT_EQ(host.calls().size(), SimulatedHost::kMaxCalls);
  EXPECT_EQ(host.calls().back().text, "SetTransmit(0)");
}

TEST(SimulatedHost, OperatorEventsReachTheSinkOnlyWhileOneIsSet) {
  SimulatedHost host;
  Events events;
  EXPECT_FALSE(host.sendDtmf("AA"));
  host.setEventSink(&events);
  EXPECT_TRUE(host.sendDtmf("AA"));
  EXPECT_TRUE(host.sendDtmf(""));
  EXPECT_TRUE(host.close());
  host.setEventSink(nullptr);
  EXPECT_FALSE(host.close());
  EXPECT_EQ(events.seen, (std::vector<std::string>{"DTMF AA", "DTMF ", "Closing"}));
}

}  // namespace
}  // namespace orv
