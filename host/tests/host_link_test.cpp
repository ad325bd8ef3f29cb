// The link across a host that goes away and comes back, on the virtual clock.
#include "host/host_link.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

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
  EXPECT_EQ(connector.attempts, 0) << "not from inside the handler that met the loss";

  // A host that went away took the radio down with it: it is not started
  // again at once, but every 10 s.
  time.advance(9999ms);
  EXPECT_EQ(connector.attempts, 0);
  time.advance(1ms);
  EXPECT_EQ(connector.attempts, 1);   // nothing to connect to yet
  EXPECT_EQ(listener.notes.back(), "host reconnect failed: Server execution failed");
  time.advance(9999ms);
  EXPECT_EQ(connector.attempts, 1);
  time.advance(1ms);
  EXPECT_EQ(connector.attempts, 2);

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

TEST_F(HostLinkTest, AReleaseGivenUpOnUnkeysThroughAFreshConnectionAtOnce) {
  RecordingHost* second = prepare("PY2NEW");
  first->hung = true;
  auto released = link->setTransmit(false);
  EXPECT_TRUE(released.ok) << released.error;
  EXPECT_FALSE(link->gone());
  EXPECT_EQ(connector.attempts, 1);
  EXPECT_EQ(second->calls, (std::vector<std::string>{"SetTransmit(0)", "StationName"}));
  EXPECT_EQ(listener.log, (std::vector<std::string>{"lost", "back PY2NEW"}));

  // Keying waits for the timer: the handler that met the loss sees it.
  prepare("PY2THIRD");
  second->hung = true;
  auto keyed = link->setTransmit(true);
  EXPECT_TRUE(keyed.gone);
  EXPECT_TRUE(link->gone());
  EXPECT_EQ(connector.attempts, 1);
  time.advance(1ms);
  EXPECT_EQ(connector.attempts, 2);
  EXPECT_FALSE(link->gone());
}

namespace {
// Answers its flag read only once the program has given it up; meanwhile
// something else runs (a message that came in during the wait).
struct GivenUpHost : RecordingHost {
  HostValue<bool> firstBusyFlag() override {
    if (during) during();
    return HostValue<bool>::givenUp("FirstBusyFlag failed: the host did not answer in 10 s");
  }
  std::function<void()> during;
};
}  // namespace

TEST_F(HostLinkTest, TheSessionEndingInsideAStuckCallReleasesThroughAFreshConnectionAndTheStuckCallFailsAlone) {
  auto stuck = std::make_unique<GivenUpHost>();
  GivenUpHost* old = stuck.get();
  link = std::make_unique<HostLink>(std::move(stuck), connector, time);
  link->setEventSink(&listener);
  RecordingHost* fresh = prepare("PY2NEW");
  bool callingInside = false;
  old->during = [&] {
    callingInside = link->calling();
    old->hung = true;   // given up by the time the ending path calls
    EXPECT_TRUE(link->setTransmit(false).ok);
    EXPECT_TRUE(link->exitSignal(false).ok);
  };
  auto read = link->firstBusyFlag();
  EXPECT_TRUE(callingInside);
  EXPECT_TRUE(read.gone);
  EXPECT_FALSE(link->gone()) << "the stuck call does not lose the fresh connection";
  EXPECT_EQ(fresh->calls, (std::vector<std::string>{"SetTransmit(0)", "StationName", "ExitSignal(0)"}));
  EXPECT_EQ(listener.log, (std::vector<std::string>{"lost", "back PY2NEW"}));
  EXPECT_FALSE(link->calling());
}

TEST_F(HostLinkTest, NoAttemptWhileACallIsStillUnderWay) {
  first->hung = true;
  link->firstBusyFlag();
  // A host whose call waits (its wait dispatches timers) has the link's own
  // timer come in from inside the call.
  auto waiting = std::make_unique<RecordingHost>();
  bool sawCalling = false;
  waiting->onCall = [&](const std::string&) {
    sawCalling = link->calling();
    link->retry();
  };
  RecordingHost* w = waiting.get();
  connector.next.push_back(std::move(waiting));
  time.advance(1ms);   // connects to `w`: its own unkey runs outside any link call
  ASSERT_FALSE(link->gone());
  EXPECT_EQ(connector.attempts, 1);
  EXPECT_TRUE(sawCalling) << "a reconnection's own calls count as calls";
  sawCalling = false;
  link->sendIdentification(false);
  EXPECT_TRUE(sawCalling);
  EXPECT_EQ(connector.attempts, 1);
  EXPECT_FALSE(link->calling());
  EXPECT_EQ(w->calls.back(), "SendIdentification(0)");
}

namespace {
// A connection the test keeps an eye on after the link has let go of it.
struct Watched : Host {
  explicit Watched(std::shared_ptr<RecordingHost> h) : h(std::move(h)) {}
  HostReply setTransmit(bool on) override { return h->setTransmit(on); }
  HostValue<bool> firstBusyFlag() override { return h->firstBusyFlag(); }
  HostValue<bool> secondBusyFlag() override { return h->secondBusyFlag(); }
  HostReply sendIdentification(bool v) override { return h->sendIdentification(v); }
  HostReply transmitFile(const std::string& p, bool v) override { return h->transmitFile(p, v); }
  HostValue<std::string> stationName() override { return h->stationName(); }
  HostReply exitSignal(bool v) override { return h->exitSignal(v); }
  void setEventSink(HostEvents* s) override { h->setEventSink(s); }
  std::shared_ptr<RecordingHost> h;
};
}  // namespace

// Whatever the host does, in any order: a host is called at most once after
// it went away, every new connection is unkeyed before anything else, and
// no host instance is made while one made before is still there (a new one
// slow to answer its first calls is asked again, not replaced).
TEST(HostLinkInvariants, HoldUnderARandomRunOfLossesRefusalsAndCalls) {
  std::mt19937 random(20260412);
  VirtualTime time;
  std::vector<std::shared_ptr<RecordingHost>> made;
  struct Connector : HostConnector {
    std::function<Connection()> make;
    Connection connect() override { return make(); }
  } connector;
  bool available = true;
  connector.make = [&]() -> HostConnector::Connection {
    for (const auto& h : made) EXPECT_TRUE(h->disconnected) << "another instance while one is still there";
    if (!available) return {nullptr, "Server execution failed", {}};
    made.push_back(std::make_shared<RecordingHost>());
    if (random() % 3 == 0) made.back()->fail("SetTransmit");
    return {std::make_unique<Watched>(made.back()), {}, {}};
  };
  made.push_back(std::make_shared<RecordingHost>());
  HostLink link(std::make_unique<Watched>(made.back()), connector, time);
  Listener listener;
  link.setEventSink(&listener);

  for (int step = 0; step < 2000; ++step) {
    RecordingHost& last = *made.back();
    switch (random() % 8) {
      case 0: last.disconnected = true; break;
      case 1: available = !available; break;
      case 2: last.heal("SetTransmit"); last.heal("StationName"); break;
      case 3: last.fail(random() % 2 ? "SetTransmit" : "StationName"); break;
      case 4: time.advance(Millis(random() % 12000)); break;
      case 5: link.setTransmit(random() % 2 == 0); break;
      case 6: link.firstBusyFlag(); break;
      default: link.transmitFile("C:\\a.wav", true); break;
    }
    EXPECT_FALSE(link.calling());
  }
  ASSERT_GT(made.size(), 5u) << "the run met too few losses to say anything";
  for (size_t i = 0; i < made.size(); ++i) {
    EXPECT_LE(made[i]->callsWhileDisconnected, 1) << "host " << i;
    if (i > 0 && !made[i]->calls.empty()) {
      EXPECT_EQ(made[i]->calls.front(), "SetTransmit(0)") << "host " << i;
    }
  }
}
