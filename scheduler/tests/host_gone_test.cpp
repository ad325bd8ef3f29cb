// The program with its host gone and back: the window says so, due slots
// wait, the ways out stay quiet, and the schedule goes on through the new host.
#include <gtest/gtest.h>

#include "host/host_link.h"
#include "scheduler/main_form.h"
#include "tests/support/form_fixture.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

struct OneHostConnector : HostConnector {
  Connection connect() override {
    if (!next) return {nullptr, "Server execution failed", {}};
    return {std::move(next), {}, {}};
  }
  std::unique_ptr<RecordingHost> next;
};

// The fixture's host stands behind a link, as the real one does.
struct HostGoneTest : ::testing::Test {
  HostGoneTest() {
    auto h = std::make_unique<RecordingHost>();
    first = h.get();
    link = std::make_unique<HostLink>(std::move(h), connector, fx.time);
    fx.services.EchoLink = link.get();
    fx.files.files["C:\\Estacao\\a.wav"] = "RIFF";
    fx.files.files["orvalen.txt"] = "a.wav\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";
    fx.files.folder = "C:\\Estacao";
    form = std::make_unique<MainForm>(fx.controls, fx.services, FormHooks{});
    std::string error;
    EXPECT_TRUE(form->Load(error)) << error;
  }
  int sends(RecordingHost& h) { return static_cast<int>(h.callsStartingWith("TransmitFile").size()); }
  void rfIp() {
    fx.check21.setValue(1);
    form->onModeCheckClicked(21);
    fx.check21.setValue(1);
    form->onModeCheckClicked(21);
  }

  FormFixture fx;
  OneHostConnector connector;
  RecordingHost* first;
  std::unique_ptr<HostLink> link;
  std::unique_ptr<MainForm> form;
};

}  // namespace

TEST_F(HostGoneTest, DueSlotsWaitWhileTheHostIsGoneAndGoOutThroughTheNextOne) {
  rfIp();
  ASSERT_EQ(fx.check21.value(), 1);
  fx.time.advance(3s);
  ASSERT_EQ(sends(*first), 1);

  first->disconnected = true;
  fx.time.advance(1s);
  EXPECT_EQ(fx.caption.text(), " Orvalen   PY2TEST - EchoLink desconectado");
  EXPECT_EQ(fx.ptt.text(), "PTT OFF");
  EXPECT_EQ(fx.ptt.textColor(), kPttOffColor);
  fx.time.advance(8s);
  EXPECT_EQ(fx.temp[0].text(), "0") << "due, waiting as for a busy host";
  EXPECT_TRUE(fx.dialogs.shown.empty());
  int reached = first->callsWhileDisconnected;
  fx.time.advance(5s);
  EXPECT_EQ(first->callsWhileDisconnected, reached) << "the dead object is left alone";

  connector.next = std::make_unique<RecordingHost>();
  RecordingHost* second = connector.next.get();
  second->station = "PY2NEW";
  for (int i = 0; i < 100 && link->gone(); ++i) fx.time.advance(100ms);
  ASSERT_FALSE(link->gone()) << "an attempt every 10 s";
  ASSERT_GE(second->calls.size(), 2u);
  EXPECT_EQ(second->calls[0], "SetTransmit(0)");
  EXPECT_EQ(second->calls[1], "StationName");
  EXPECT_EQ(fx.caption.text(), " Orvalen   PY2NEW");
  fx.time.advance(1s);
  EXPECT_EQ(sends(*second), 1) << "the waiting slot goes out on the next tick";
  fx.time.advance(3s);
  EXPECT_EQ(sends(*second), 2) << "and keeps its interval";
  EXPECT_TRUE(fx.dialogs.shown.empty());
}

TEST_F(HostGoneTest, ALossDuringLocalPlaybackIsFoundAtItsEndAndNoPlaybackStartsUntilTheHostIsBack) {
  fx.playback.lengths["C:\\Estacao\\a.wav"] = 2.5;
  fx.playback.lengths["a.wav"] = 2.5;
  fx.time.advance(3s);   // "RF  -" from start-up: the slot plays locally
  ASSERT_EQ(fx.ptt.text(), "PTT ON");
  first->disconnected = true;
  fx.time.advance(4s);   // the end of the playback unkeys a host that is not there
  EXPECT_TRUE(link->gone());
  EXPECT_EQ(fx.ptt.text(), "PTT OFF");
  EXPECT_EQ(fx.ptt.textColor(), kPttOffColor);
  EXPECT_EQ(fx.playback.live, 0);
  fx.time.advance(5s);
  EXPECT_EQ(fx.playback.created, 1) << "nobody would key the radio for it";
  EXPECT_EQ(fx.temp[0].text(), "0");
}

TEST_F(HostGoneTest, TheWaysOutWorkWithoutTheHostAndWithoutAnError) {
  first->disconnected = true;
  fx.time.advance(1s);
  ASSERT_TRUE(link->gone());
  form->onDtmfString("AA");
  form->onButtonClick(FormButton::Sair);
  EXPECT_TRUE(fx.dialogs.shown.empty());
  EXPECT_EQ(fx.app.exitCode, 0);
}

TEST_F(HostGoneTest, TheSessionEndUnkeysAndSignalsEvenWithTheQuestionOpen) {
  fx.dialogs.answer = MsgResult::No;
  fx.dialogs.whileOpen = [&](const FakeDialogs::Shown&) { form->onSessionEnd(); };
  EXPECT_FALSE(form->onCloseRequest());
  EXPECT_EQ(fx.app.exitCode, 0);
  ASSERT_GE(first->calls.size(), 2u);
  EXPECT_EQ(first->calls[first->calls.size() - 2], "SetTransmit(0)");
  EXPECT_EQ(first->calls.back(), "ExitSignal(0)");
}

TEST_F(HostGoneTest, TicksThatComeInDuringAHostCallWaitForIt) {
  rfIp();
  // A host whose TransmitFile returns when sent, 5 s later, with timers
  // dispatched meanwhile.
  bool inside = false;
  first->onCall = [&](const std::string& call) {
    if (call.rfind("TransmitFile", 0) != 0 || inside) return;
    inside = true;
    fx.time.advance(5s);
    inside = false;
  };
  fx.time.advance(3s);
  auto calls = first->calls;
  auto sent = std::find_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("TransmitFile", 0) == 0; });
  ASSERT_NE(sent, calls.end());
  ASSERT_NE(sent + 1, calls.end());
  EXPECT_EQ(*(sent + 1), "SetTransmit(0)");
  EXPECT_EQ(sent + 2, calls.end()) << "no call while the send was under way";
  // The schedule catches up afterwards on its monotonic seconds.
  first->onCall = nullptr;
  fx.time.advance(10s);
  EXPECT_GE(static_cast<int>(first->callsStartingWith("TransmitFile").size()), 3);
}
