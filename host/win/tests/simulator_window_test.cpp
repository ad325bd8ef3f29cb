#include "host/win/simulator_window.h"

#include <gtest/gtest.h>

#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::win {
namespace {

class Events : public HostEvents {
 public:
  void onDtmfString(const std::string& d) override { seen.push_back("DTMF " + d); }
  void onClosing() override { seen.push_back("Closing"); }
  std::vector<std::string> seen;
};

std::string Text(HWND w) {
  wchar_t buf[256] = {};
  int n = ::GetWindowTextW(w, buf, 256);
  return Narrow(buf, n);
}

std::string Item(HWND list, int i) {
  wchar_t buf[256] = {};
  int n = static_cast<int>(::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf)));
  return Narrow(buf, n);
}

// The window shows calls and changes once the message loop gets its turn.
void Pump() {
  MSG m;
  while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&m);
}

void Click(HWND window, int id) {
  ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

class SimulatorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner = UniqueWindow(::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 100, 80, 400, 300, nullptr,
                                           nullptr, nullptr, nullptr));
    ASSERT_TRUE(owner);
    host.setEventSink(&events);
  }
  SimulatedHost host;
  Events events;
  UniqueWindow owner;
};

TEST_F(SimulatorWindowTest, SitsToTheRightOfTheMainWindowAndShowsTheCallsAlreadyMade) {
  host.stationName();
  auto sim = CreateSimulatorWindow(host, owner.get());
  ASSERT_TRUE(sim);
  RECT o{}, s{};
  ::GetWindowRect(owner.get(), &o);
  ::GetWindowRect(sim->hwnd(), &s);
  EXPECT_GE(s.left, o.right);
  EXPECT_EQ(s.top, o.top);
  EXPECT_EQ(::GetWindow(sim->hwnd(), GW_OWNER), owner.get());
  EXPECT_EQ(Text(::GetDlgItem(sim->hwnd(), kSimStation)), "PY2SIM-L");
  HWND calls = ::GetDlgItem(sim->hwnd(), kSimCalls);
  ASSERT_EQ(::SendMessageW(calls, LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(Item(calls, 0), "StationName");
}

TEST_F(SimulatorWindowTest, ShowsTheTransmitterAndTheCallsOnceTheyAreMade) {
  auto sim = CreateSimulatorWindow(host, owner.get());
  ASSERT_TRUE(sim);
  HWND state = ::GetDlgItem(sim->hwnd(), kSimTransmitter);
  HWND calls = ::GetDlgItem(sim->hwnd(), kSimCalls);
  EXPECT_EQ(Text(state), "em repouso");
  host.setTransmit(true);
  Pump();
  EXPECT_EQ(Text(state), "TRANSMITINDO");
  host.transmitFile("C:\\m\\a.wav", true);
  host.setTransmit(false);
  EXPECT_EQ(::SendMessageW(calls, LB_GETCOUNT, 0, 0), 1) << "not inside the calls";
  host.setTransmit(false);
  Pump();
  EXPECT_EQ(Text(state), "em repouso");
  ASSERT_EQ(::SendMessageW(calls, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(Item(calls, 0), "SetTransmit(-1)");
  EXPECT_EQ(Item(calls, 1), "TransmitFile(C:\\m\\a.wav,-1)");
  EXPECT_EQ(Item(calls, 2), "SetTransmit(0)  x2");
  host.setTransmit(false);
  host.setFirstBusy(true);   // set by the program, not the operator: shown too
  Pump();
  EXPECT_EQ(Item(calls, 2), "SetTransmit(0)  x3");
  EXPECT_EQ(::IsDlgButtonChecked(sim->hwnd(), kSimBusy1), BST_CHECKED);
  for (size_t i = 0; i < SimulatedHost::kMaxCalls + 5; ++i) host.exitSignal(i % 2 == 0);
  Pump();
  EXPECT_EQ(::SendMessageW(calls, LB_GETCOUNT, 0, 0), static_cast<LRESULT>(SimulatedHost::kMaxCalls));
}

TEST_F(SimulatorWindowTest, TheOperatorSetsTheAnswersAndRaisesTheEvents) {
  auto sim = CreateSimulatorWindow(host, owner.get());
  ASSERT_TRUE(sim);
  HWND w = sim->hwnd();
  ::SetWindowTextW(::GetDlgItem(w, kSimStation), L"PY2ÇÃO-R");   // EN_CHANGE applies it
  EXPECT_EQ(host.stationName().value, "PY2ÇÃO-R");

  ::SendMessageW(::GetDlgItem(w, kSimBusy2), BM_SETCHECK, BST_CHECKED, 0);
  Click(w, kSimBusy2);
  EXPECT_TRUE(host.secondBusyFlag().value);
  EXPECT_FALSE(host.firstBusyFlag().value);

  Click(w, kSimSendDtmf);
  ::SetWindowTextW(::GetDlgItem(w, kSimDtmf), L"123#");
  Click(w, kSimSendDtmf);
  Click(w, kSimClose);
  EXPECT_EQ(events.seen, (std::vector<std::string>{"DTMF AA", "DTMF 123#", "Closing"}));
  // The close box is not a way to end the host.
  ::SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(w));
}

TEST_F(SimulatorWindowTest, TheHostKeepsWorkingAfterTheWindowOrItsOwnerIsGone) {
  auto sim = CreateSimulatorWindow(host, owner.get());
  ASSERT_TRUE(sim);
  owner.reset();   // destroys the owned simulator window with it
  EXPECT_EQ(sim->hwnd(), nullptr);
  host.setTransmit(true);
  sim.reset();
  EXPECT_FALSE(host.onCall);
  host.setTransmit(false);
  EXPECT_FALSE(host.transmitting());
}

}  // namespace
}  // namespace orv::win
