// The real program against a host that misbehaves: one that hangs in a
// call, one killed while nothing plays, one that refuses to unkey after an
// agenda send, and the ways out while the host does not answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "tests/e2e/testhost_session.h"

using namespace orv::e2e;

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point t) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

bool Keys(const std::string& call) { return call == "SetTransmit(-1)" || call.rfind("TransmitFile(", 0) == 0; }

// Calls that key or send, from the `from`th call of the test host on.
std::vector<std::string> KeyingSince(size_t from) {
  auto calls = HostCalls();
  std::vector<std::string> keying;
  for (size_t i = from; i < calls.size(); ++i)
    if (Keys(calls[i])) keying.push_back(calls[i]);
  return keying;
}

int CountStartingWith(const std::vector<std::string>& calls, const std::string& prefix) {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

std::string HhMm(int minuteOfDay) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d:%02d", minuteOfDay / 60 % 24, minuteOfDay % 60);
  return buf;
}

struct HostFaultsE2E : TestHostTest {
  void Start(const std::wstring& extra = L"") { TestHostTest::Start(L"--host-log=host.log " + extra); }
  // The program's own host log lines that start with `prefix`.
  std::vector<ProgramLogLine> Logged(const std::string& prefix) {
    std::vector<ProgramLogLine> found;
    for (auto& l : ReadProgramLog(dir.file(L"host.log")))
      if (l.op.rfind(prefix, 0) == 0) found.push_back(l);
    return found;
  }
  // An RF + IP slot every 2 s, sending once so the ticks are known to run.
  void StartSending() {
    WriteWav(dir.file(L"ident.wav"), 1.0);
    WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("ident.wav", "1"));
    Start();
    SelectRfIp();
    ASSERT_TRUE(WaitUntil([] { return CountStartingWith(HostCalls(), "TransmitFile(") >= 1; }, 10s));
  }
  void HangTheNextFlagRead(const wchar_t* seconds) {
    ASSERT_EQ(Ctl({L"hang", L"SecondBusyFlag", seconds}), 0);
    const std::string note = "# hanging SecondBusyFlag for " + std::string(seconds, seconds + wcslen(seconds)) + " s";
    ASSERT_TRUE(WaitUntil([&] { return HostLogHasLine(note); }, 5s)) << "no flag read came";
  }
};

}  // namespace

TEST_F(HostFaultsE2E, AHungCallNeverFreezesTheWindowAndTheHostIsGivenUpWithinFifteenSeconds) {
  StartSending();
  HangTheNextFlagRead(L"25");
  const auto hung = Clock::now();
  const int armed = program->Check(kCheckBase);
  HWND clock = program->control(kShowTime);
  std::wstring shown;
  auto shownSince = Clock::now();
  long long slowest = 0, stillest = 0;
  int unanswered = 0;
  bool clicked = false, clickRanInside = false, lost = false;
  while (MsSince(hung) < 15500 && !lost) {
    const auto asked = Clock::now();
    wchar_t buf[64] = {};
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(clock, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 250, &got))
      ++unanswered;
    slowest = std::max(slowest, MsSince(asked));
    if (std::wstring(buf, got) != shown) {
      if (!shown.empty()) stillest = std::max(stillest, MsSince(shownSince));
      shown.assign(buf, got);
      shownSince = Clock::now();
    }
    // A click while the host thinks waits for the call's end.
    if (!clicked && MsSince(hung) > 2000) {
      program->Click(kCheckBase);
      clicked = true;
    }
    lost = !Logged("host lost: ").empty();
    if (clicked && !lost && program->Check(kCheckBase) != armed) clickRanInside = true;
    Sleep(50);
  }
  const long long givenUpAfter = MsSince(hung);
  std::printf("slowest answer %lld ms, clock still for at most %lld ms, host given up after %lld ms\n", slowest,
              stillest, givenUpAfter);
  EXPECT_EQ(unanswered, 0);
  EXPECT_LT(slowest, 250);
  EXPECT_LT(stillest, 1600) << "the clock stood still";
  EXPECT_FALSE(clickRanInside);
  ASSERT_TRUE(lost) << "the host was not given up within 15 s";
  EXPECT_EQ(Logged("host lost: ")[0].op, "host lost: SecondBusyFlag failed: the host did not answer in 10 s");

  // A fresh connection to the same host, unkeyed first; the click is handled after.
  ASSERT_TRUE(WaitUntil([&] { return !Logged("host reconnected: ").empty(); }, 5s));
  EXPECT_TRUE(WaitUntil([&] { return program->Check(kCheckBase) != armed; }, 3s)) << "the click was lost";
  std::string out;
  Ctl({L"calls"}, &out);
  const size_t hangAt = out.find("# hanging SecondBusyFlag");
  const size_t freshAt = out.find("# object created", hangAt);
  ASSERT_NE(freshAt, std::string::npos);
  const size_t firstCall = out.find("\nSetTransmit(0)\n", freshAt);
  EXPECT_NE(firstCall, std::string::npos);
  EXPECT_EQ(out.find("\nSetTransmit(-1)\n", freshAt), std::string::npos);
  EXPECT_EQ(out.find("\nStationObject\n", freshAt), out.find("\n", firstCall + 1)) << out.substr(freshAt);
}

TEST_F(HostFaultsE2E, TheSessionEndingDuringAHungCallKeysNothingAfterExitSignal) {
  StartSending();
  HangTheNextFlagRead(L"30");
  const size_t before = HostCalls().size();
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"wineboot.exe --end-session --shutdown";
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  // The question comes while the call waits; the session ends regardless.
  auto box = program->WaitForMessageBox(10s);
  EXPECT_NE(box.hwnd, nullptr) << "the close question is asked for the session end too";
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(program->mainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 15000, &answer);
  EXPECT_EQ(program->WaitForExit(20s), 0);

  auto calls = HostCalls();
  auto exit = std::find(calls.begin() + static_cast<long>(before), calls.end(), "ExitSignal(0)");
  ASSERT_NE(exit, calls.end()) << "the host was not told";
  auto lastTransmit = std::find_if(std::make_reverse_iterator(exit), calls.rend(),
                                   [](const std::string& c) { return c.rfind("SetTransmit(", 0) == 0; });
  ASSERT_NE(lastTransmit, calls.rend());
  EXPECT_EQ(*lastTransmit, "SetTransmit(0)") << "released before the host was told";
  EXPECT_GT(lastTransmit.base() - calls.begin(), static_cast<long>(before)) << "no release after the hang";
  EXPECT_EQ(KeyingSince(before), std::vector<std::string>{}) << "keyed after the session's end";
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0) << "wineboot still waits";
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}

TEST_F(HostFaultsE2E, AHostKilledWhileNothingPlaysAfterAFailedSendShowsInTheCaptionWithinTwoSeconds) {
  // The message is gone by the time it falls due: the send ends before
  // anything plays.
  WriteWav(dir.file(L"gone.wav"), 1.0);
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("gone.wav", "1"));
  Start(L"--log=record.log");
  ASSERT_TRUE(DeleteFileW(dir.file(L"gone.wav").c_str()));
  ASSERT_TRUE(WaitUntil([&] { return !ReadLines(dir.file(L"record.log")).empty(); }, 10s)) << "never fell due";
  EXPECT_NE(ReadLines(dir.file(L"record.log"))[0].find("arquivo n\xC3\xA3o existe"), std::string::npos);
  program->Click(kCheckBase);   // nothing is due any more
  ASSERT_TRUE(WaitUntil([&] { return program->Check(kCheckBase) == 0; }));
  EXPECT_EQ(program->Text(kPtt), "PTT OFF");
  Sleep(2500);

  ASSERT_EQ(Ctl({L"die"}), 0);
  const auto killed = Clock::now();
  ASSERT_TRUE(WaitUntil([&] { return program->Caption().find("EchoLink desconectado") != std::string::npos; }, 5s,
                        10ms))
      << program->Caption();
  const long long noticed = MsSince(killed);
  std::printf("a dead host noticed after %lld ms\n", noticed);
  EXPECT_LE(noticed, 2300);
  EXPECT_EQ(program->Text(kPtt), "PTT OFF");
  EXPECT_FALSE(program->MessageBoxOpen());
}

TEST_F(HostFaultsE2E, AnAgendaSendWhoseUnkeyIsRefusedIsReleasedEverySecondAndTheErrorBoxThenHoldsEverySend) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  // Room before the first due time for the start-up and the mode choice.
  if (now.wSecond > 48) Sleep((61 - now.wSecond) * 1000);
  GetLocalTime(&now);
  const int first = (now.wHour * 60 + now.wMinute + 1) % 1440;
  WriteWav(dir.file(L"a.wav"), 1.0);
  WriteWav(dir.file(L"b.wav"), 1.0);
  WriteWav(dir.file(L"ident.wav"), 1.0);
  WriteFileBytes(dir.file(L"orvalen-agenda.txt"), HhMm(first) + " todos a.wav\r\n" + HhMm(first + 1) + " todos b.wav\r\n");
  WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("ident.wav", "0"));
  Start();
  SelectRfIp();
  while (SecondsOfDayNow() < first * 60.0 - 3 && SecondsOfDayNow() > first * 60.0 - 120) Sleep(200);
  ASSERT_EQ(Ctl({L"fail", L"SetTransmit(0)"}), 0);

  ASSERT_TRUE(WaitUntil([] { return CountStartingWith(HostCalls(), "TransmitFile(") >= 1; }, 10s))
      << "the entry never went out";
  // Sent, but the host will not unkey: red, and the release asked for every second.
  ASSERT_TRUE(WaitUntil([&] { return Logged("SetTransmit(0) FAILED").size() >= 4; }, 8s));
  EXPECT_EQ(program->Text(kPtt), "PTT ON");
  auto refused = Logged("SetTransmit(0) FAILED");
  for (size_t i = 1; i < refused.size(); ++i) {
    EXPECT_GT(refused[i].at - refused[i - 1].at, 0.7) << "retry " << i;
    EXPECT_LT(refused[i].at - refused[i - 1].at, 1.5) << "retry " << i;
  }
  ASSERT_EQ(Ctl({L"heal", L"SetTransmit(0)"}), 0);
  EXPECT_TRUE(WaitUntil([&] { return program->Text(kPtt) == "PTT OFF"; }, 2500ms)) << "green once accepted";
  EXPECT_EQ(HostCalls().back(), "SetTransmit(0)");

  // The error box that ends the program, open across a slot's turns and
  // the next entry's due time.
  program->SetText(kContBase, "2");
  program->Click(kCheckBase);
  ASSERT_TRUE(WaitUntil([&] { return program->Check(kCheckBase) == 1; }));
  ASSERT_EQ(Ctl({L"fail", L"SendIdentification"}), 0);
  ASSERT_EQ(Ctl({L"dtmf", L"AA"}), 0);
  auto box = program->WaitForMessageBox(5s);
  ASSERT_NE(box.hwnd, nullptr) << "no error box";
  EXPECT_NE(box.text.find("SendIdentification refused"), std::string::npos) << box.text;
  const size_t atBox = HostCalls().size();
  while (SecondsOfDayNow() < (first + 1) * 60.0 + 4 && SecondsOfDayNow() > first * 60.0) Sleep(200);
  EXPECT_EQ(KeyingSince(atBox), std::vector<std::string>{}) << "keyed while the error box was open";
  program->Answer(box, IDOK);
  EXPECT_EQ(program->WaitForExit(), 1);
  auto calls = HostCalls();
  EXPECT_EQ(KeyingSince(atBox), std::vector<std::string>{});
  auto lastTransmit = std::find_if(calls.rbegin(), calls.rend(),
                                   [](const std::string& c) { return c.rfind("SetTransmit(", 0) == 0; });
  ASSERT_NE(lastTransmit, calls.rend());
  EXPECT_EQ(*lastTransmit, "SetTransmit(0)") << "ended unkeyed";
}
