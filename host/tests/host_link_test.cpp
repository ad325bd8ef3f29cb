// The link across a host that goes away and comes back, on the virtual clock.
#include "host/host_link.h"

#include <gtest/gtest.h>

#include "tests/support/recording_host.h"
#include "tests/support/virtual_time.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

// Hands out the hosts a test prepared, one per attempt; none when empty.
struct QueueConnector : HostConnector {
  Connection connect() override {
    ++attempts;
    if (next.empty()) return {nullptr, "Server execution failed", {}};
    auto host = std::move(next.front());
    next.erase(next.begin());
    return {std::move(host), {}, eventsError};
  }
  std::vector<std::unique_ptr<RecordingHost>> next;
  std::string eventsError;
  int attempts = 0;
};

struct Listener : HostEvents {
  void onDtmfString(const std::string& d) override { log.push_back("dtmf " + d); }
  void onClosing() override { log.push_back("closing"); }
  void onHostLost(const std::string&) override { log.push_back("lost"); }
  void onHostBack(const std::string& station) override { log.push_back("back " + station); }
  void onHostNote(const std::string& text) override { notes.push_back(text); }
  std::vector<std::string> log, notes;
};

struct HostLinkTest : ::testing::Test {
  HostLinkTest() {
    auto host = std::make_unique<RecordingHost>();
    first = host.get();
    link = std::make_unique<HostLink>(std::move(host), connector, time);
    link->setEventSink(&listener);
  }
  RecordingHost* prepare(const std::string& station) {
    connector.next.push_back(std::make_unique<RecordingHost>());
    connector.next.back()->station = station;
    return connector.next.back().get();
  }
  VirtualTime time;
  QueueConnector connector;
  Listener listener;
  RecordingHost* first;
  std::unique_ptr<HostLink> link;
};

}  // namespace

TEST_F(HostLinkTest, AnsweringHostErrorsAreNotALoss) {
  first->fail("SetTransmit");
  auto r = link->setTransmit(true);
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.gone);
  EXPECT_FALSE(link->gone());
  EXPECT_EQ(first->count("SetTransmit(-1)"), 1);
  first->raiseDtmf("AA");
  EXPECT_EQ(listener.log, (std::vector<std::string>{"dtmf AA"}));
}

TEST_F(HostLinkTest, AGoneHostIsNotCalledAgainAndIsReplacedEveryTenSecondsUntilOneAnswers) {
  first->disconnected = true;
  EXPECT_TRUE(link->firstBusyFlag().gone);
  EXPECT_TRUE(link->gone());
  EXPECT_EQ(listener.log, (std::vector<std::string>{"lost"}));
  ASSERT_EQ(listener.notes.size(), 1u);
  EXPECT_EQ(listener.notes[0], "host lost: FirstBusyFlag: disconnected");
  // Answered at once, without reaching the dead object.
  auto r = link->setTransmit(false);
  EXPECT_TRUE(r.gone);
  EXPECT_EQ(r.error, HostLink::kNotConnected);
  EXPECT_EQ(first->callsWhileDisconnected, 1);

  time.advance(9999ms);
  EXPECT_EQ(connector.attempts, 0);
  time.advance(1ms);
  EXPECT_EQ(connector.attempts, 1);   // nothing to connect to yet
  EXPECT_EQ(listener.notes.back(), "host reconnect failed: Server execution failed");

  // A host that refuses to unkey is no connection.
  prepare("X")->fail("SetTransmit");
  time.advance(10s);
  EXPECT_EQ(connector.attempts, 2);
  EXPECT_TRUE(link->gone());

  RecordingHost* second = prepare("PY2NEW");
  connector.eventsError = "no events";
  time.advance(10s);
  EXPECT_FALSE(link->gone());
  EXPECT_EQ(second->calls, (std::vector<std::string>{"SetTransmit(0)", "StationName"}));
  EXPECT_EQ(listener.log.back(), "back PY2NEW");
  EXPECT_EQ(listener.notes.back(), "host reconnected: SetTransmit(0), StationName -> PY2NEW");
  EXPECT_EQ(listener.notes[listener.notes.size() - 2], "host events not connected: no events");
  time.advance(60s);
  EXPECT_EQ(connector.attempts, 3) << "no more attempts once connected";

  // Calls and events go through the new host.
  EXPECT_TRUE(link->transmitFile("C:\\a.wav", true).ok);
  EXPECT_EQ(second->calls.back(), "TransmitFile(C:\\a.wav,-1)");
  second->raiseClosing();
  EXPECT_EQ(listener.log.back(), "closing");
}

TEST_F(HostLinkTest, NoAttemptWhileACallIsStillUnderWay) {
  first->disconnected = true;
  link->setTransmit(false);
  prepare("PY2NEW");
  // A host whose call waits (its wait dispatches timers) has the link's own
  // timer come in from inside the call.
  auto waiting = std::make_unique<RecordingHost>();
  bool sawCalling = false;
  waiting->onCall = [&](const std::string&) {
    sawCalling = link->calling();
    link->retry();
  };
  RecordingHost* w = waiting.get();
  connector.next.insert(connector.next.begin(), std::move(waiting));
  time.advance(10s);   // connects to `w`: its own unkey runs outside any link call
  ASSERT_FALSE(link->gone());
  EXPECT_EQ(connector.attempts, 1);
  link->sendIdentification(false);
  EXPECT_TRUE(sawCalling);
  EXPECT_EQ(connector.attempts, 1);
  EXPECT_FALSE(link->calling());
  EXPECT_EQ(w->calls.back(), "SendIdentification(0)");
}
