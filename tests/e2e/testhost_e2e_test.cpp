// The real program against the test host, through the real COM path: the
// host class is created by its CLSID, called by name, and its events come
// through the connection point.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "testhost_state.h"
#include "tests/e2e/testhost_session.h"

using namespace orv::e2e;

namespace {


int Count(const std::vector<std::string>& v, const std::string& s) {
  return static_cast<int>(std::count(v.begin(), v.end(), s));
}

struct TestHostE2E : TestHostTest {
  void Start(const std::wstring& extra = L"") { TestHostTest::Start(L"--host-log=host.log " + extra); }
  // A slot list file with slot 1 only.
  void OneSlot(const std::string& name, const std::string& interval) {
    WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList(name, interval));
  }
  // Host log lines of orvalen itself, operation only.
  std::vector<std::string> Logged() {
    std::vector<std::string> ops;
    for (const auto& l : ReadLines(dir.file(L"host.log"))) ops.push_back(LogOperation(l));
    return ops;
  }
  std::vector<double> LoggedTimes(const std::string& prefix) {
    std::vector<double> t;
    for (const auto& l : ReadLines(dir.file(L"host.log"))) {
      if (LogOperation(l).rfind(prefix, 0) != 0) continue;
      // "YYYY-MM-DD HH:MM:SS.mmm"
      int h = std::stoi(l.substr(11, 2)), m = std::stoi(l.substr(14, 2));
      double s = std::stod(l.substr(17, 6));
      t.push_back(h * 3600 + m * 60 + s);
    }
    return t;
  }
};

}  // namespace

TEST_F(TestHostE2E, CaptionCarriesTheStationNameAndTheTransmitterStartsUnkeyed) {
  ASSERT_EQ(Ctl({L"station", L"PY2ABC-R"}), 0);
  Start();
  EXPECT_EQ(program->Caption(), " Orvalen   PY2ABC-R");
  EXPECT_EQ(program->Text(kPtt), "PTT OFF");
  auto calls = HostCalls();
  auto first = std::find_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.find('(') != std::string::npos; });
  ASSERT_NE(first, calls.end());
  EXPECT_EQ(*first, "SetTransmit(0)") << "the first operation keys nothing";
}

TEST_F(TestHostE2E, CloseAnsweredYesUnkeysAndSignalsTheHost) {
  Start();
  program->PostClose();
  auto box = program->WaitForMessageBox();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.title, "Sai do programa");
  program->Answer(box, IDYES);
  EXPECT_EQ(program->WaitForExit(), 0);
  auto calls = HostCalls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "SetTransmit(0)");
  EXPECT_EQ(calls.back(), "ExitSignal(0)");
}

TEST_F(TestHostE2E, CloseAnsweredNoKeepsRunning) {
  Start();
  program->PostClose();
  auto box = program->WaitForMessageBox();
  ASSERT_NE(box.hwnd, nullptr);
  program->Answer(box, IDNO);
  EXPECT_EQ(program->WaitForExit(1500ms), -1);
  EXPECT_EQ(Count(HostCalls(), "ExitSignal(0)"), 0);
}

TEST_F(TestHostE2E, SairEndsWithoutAsking) {
  Start();
  program->Click(kSair);
  EXPECT_EQ(program->WaitForExit(), 0);
  auto calls = HostCalls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls.back(), "ExitSignal(0)");
}

TEST_F(TestHostE2E, HostClosingEndsTheProgramWithoutQuestionOrExitSignal) {
  Start();
  ASSERT_EQ(Ctl({L"closing"}), 0);
  EXPECT_EQ(program->WaitForExit(), 0);
  auto calls = HostCalls();
  EXPECT_EQ(Count(calls, "ExitSignal(0)"), 0);
  EXPECT_EQ(calls.back(), "SetTransmit(0)");
}

namespace {
// Runs orvalen_testhost.exe (beside orvalen.exe) with one argument and waits.
void RunTestHost(const std::wstring& arg) {
  std::wstring exe = ProgramPath();
  exe = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"orvalen_testhost.exe";
  std::wstring cmd = L"\"" + exe + L"\" " + arg;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
}
}  // namespace

TEST_F(TestHostE2E, AHostThatCannotBeCreatedIsReportedAndTheProgramExits) {
  // A server still running would hand out its class object unregistered.
  Ctl({L"die"});
  ASSERT_TRUE(WaitUntil([] { return Ctl({L"sinks"}) == 3; }, 10s)) << "a test host still runs";
  RunTestHost(L"/unregserver");
  struct Reregister {
    ~Reregister() { RunTestHost(L"/regserver"); }
  } reregister;
  RunningProgram p(dir, L"");
  ASSERT_TRUE(p.started());
  MessageBoxInfo box = p.WaitForMessageBox(20s);
  ASSERT_NE(box.hwnd, nullptr) << "no start-up message";
  EXPECT_EQ(box.title, "Orvalen");
  EXPECT_NE(box.text.find("--host=simulator"), std::string::npos) << box.text;
  EXPECT_EQ(p.FindWindowOfClass(L"OrvalenForm1"), nullptr);
  p.Answer(box, IDOK);
  int code = p.WaitForExit();
  EXPECT_NE(code, 0);
  EXPECT_NE(code, -1);
}

TEST_F(TestHostE2E, RfIpSlotSendsThroughTheHostEveryIntervalPlusOneSeconds) {
  WriteWav(dir.file(L"ident.wav"), 1.0);
  OneSlot("ident.wav", "2");
  Start();
  EXPECT_EQ(program->Check(kCheckBase), 1) << "start-up arms the saved slot";
  SelectRfIp();
  ASSERT_TRUE(WaitUntil([&] { return LoggedTimes("TransmitFile(").size() >= 3; }, 15s));
  auto calls = HostCalls();
  auto sent = std::find_if(calls.begin(), calls.end(),
                           [](const std::string& c) { return c.rfind("TransmitFile(", 0) == 0; });
  ASSERT_NE(sent, calls.end());
  ASSERT_NE(sent, calls.begin());
  EXPECT_EQ(*(sent - 1), "SetTransmit(-1)");
  EXPECT_NE(sent->find("\\ident.wav,-1)"), std::string::npos) << *sent;
  EXPECT_EQ(*(sent + 1), "SetTransmit(0)");
  auto t = LoggedTimes("TransmitFile(");
  EXPECT_NEAR(t[1] - t[0], 3.0, 0.35);
  EXPECT_NEAR(t[2] - t[1], 3.0, 0.35);
  // A send may be under way as we read: the indicator ends green with it.
  EXPECT_TRUE(WaitUntil([&] { return program->Text(kPtt) == "PTT OFF"; }, 2s));
}

TEST_F(TestHostE2E, ABusyHostHoldsADueSlot) {
  WriteWav(dir.file(L"ident.wav"), 1.0);
  OneSlot("ident.wav", "1");
  ASSERT_EQ(Ctl({L"busy1", L"on"}), 0);
  Start();
  SelectRfIp();
  Sleep(4000);
  auto calls = HostCalls();
  EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                          [](const std::string& c) { return c.rfind("TransmitFile(", 0) == 0; }),
            0);
  EXPECT_GE(Count(calls, "FirstBusyFlag"), 2) << "the flags are asked every second";
  EXPECT_EQ(program->Text(kTempBase), "0");
  ASSERT_EQ(Ctl({L"busy1", L"off"}), 0);
  EXPECT_TRUE(WaitUntil([&] { return !LoggedTimes("TransmitFile(").empty(); }, 5s));
}

TEST_F(TestHostE2E, DtmfCodeAsksForTheIdentificationOnlyOnAnExactMatch) {
  Start();
  for (const wchar_t* digits : {L"aa", L"A", L"AAA", L"AA ", L"AA"}) ASSERT_EQ(Ctl({L"dtmf", digits}), 0);
  ASSERT_TRUE(WaitUntil([&] { return Count(Logged(), "event DTMFString(AA)") == 1; }));
  ASSERT_TRUE(WaitUntil([&] { return Count(HostCalls(), "SendIdentification(0)") >= 1; }));
  Sleep(500);
  EXPECT_EQ(Count(HostCalls(), "SendIdentification(0)"), 1);
}

TEST_F(TestHostE2E, SavedSlotsAreArmedAgainAfterARestart) {
  WriteWav(dir.file(L"aviso.wav"), 1.0);
  Start();
  program->SetText(kMensBase + 2, "aviso.wav");
  program->SetText(kContBase + 2, "1800");
  program->Click(kGravar);
  ASSERT_TRUE(WaitUntil([&] { return ReadLines(dir.file(L"orvalen.txt")).size() == 18; }));
  auto lines = ReadLines(dir.file(L"orvalen.txt"));
  EXPECT_EQ(lines[2], "aviso.wav");
  EXPECT_EQ(lines[11], "1800");
  EXPECT_EQ(ReadFileBytes(dir.file(L"orvalen.txt")).substr(0, 4), "\r\n\r\n");
  program->Click(kSair);
  ASSERT_EQ(program->WaitForExit(), 0);
  program.reset();
  ASSERT_EQ(Ctl({L"reset"}), 0);
  Start();
  EXPECT_EQ(program->Text(kMensBase + 2), "aviso.wav");
  EXPECT_EQ(program->Check(kCheckBase + 2), 1);
  EXPECT_TRUE(WaitUntil([&] { return program->Text(kTempBase + 2) == "1799"; }, 3s));
}

TEST_F(TestHostE2E, AUtf8ListFillsTheBoxesAndASaveKeepsItAsTheBackup) {
  // As Notepad saves it: a byte-order mark, then accented names.
  const std::string list = "\xEF\xBB\xBF" + OneSlotList("a\xC3\xA7\xC3\xA3o.wav", "600");
  WriteFileBytes(dir.file(L"orvalen.txt"), list);
  WriteWav(dir.file(L"a\u00e7\u00e3o.wav"), 1.0);
  Start();
  EXPECT_EQ(program->Text(kMensBase), "a\xC3\xA7\xC3\xA3o.wav");
  EXPECT_EQ(program->Check(kCheckBase), 1);
  EXPECT_FALSE(program->MessageBoxOpen());
  program->SetText(kMensBase + 1, "m\xC3\xBAsica \xC3\xA9.wav");
  program->Click(kGravar);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(dir.file(L"orvalen.bak")) == list; }));
  // Written back in the ANSI code page (Windows-1252 here).
  EXPECT_EQ(ReadFileBytes(dir.file(L"orvalen.txt")).substr(0, 24), "a\xE7\xE3o.wav\r\nm\xFAsica \xE9.wav\r\n");
}

TEST_F(TestHostE2E, ASlotNamedByAnAbsolutePathSendsThatPath) {
  TempFolder elsewhere;
  WriteWav(elsewhere.file(L"aviso.wav"), 1.0);
  std::string path;
  for (wchar_t c : elsewhere.file(L"aviso.wav")) path += static_cast<char>(c);  // the temp folder is ASCII
  OneSlot(path, "1");
  Start();
  EXPECT_EQ(program->Check(kCheckBase), 1) << "the file test finds it where it is";
  SelectRfIp();
  ASSERT_TRUE(WaitUntil([&] { return Count(HostCalls(), "TransmitFile(" + path + ",-1)") >= 1; }, 10s));
}

TEST_F(TestHostE2E, ALockedListIsReportedAndArmsNothing) {
  WriteWav(dir.file(L"ident.wav"), 1.0);
  OneSlot("ident.wav", "1");
  HANDLE held = CreateFileW(dir.file(L"orvalen.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  program = std::make_unique<RunningProgram>(dir, L"--host-log=host.log");
  ASSERT_TRUE(program->started());
  const MessageBoxInfo box = program->WaitForMessageBox(20s);
  CloseHandle(held);
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_NE(box.text.find("orvalen.txt: "), std::string::npos) << box.text;
  program->Answer(box, IDOK);
  ASSERT_TRUE(program->WaitForMainWindow());
  EXPECT_EQ(program->Text(kMensBase), "");
  EXPECT_EQ(program->Check(kCheckBase), 0);
  Sleep(2500);  // an armed slot of 1 s would have keyed by now ("RF  -")
  EXPECT_EQ(Count(HostCalls(), "SetTransmit(-1)"), 0);
}

TEST_F(TestHostE2E, LocalPlaybackKeysTheTransmitterForTheFileAndUnkeysAfterIt) {
  for (int kind = 0; kind < 2; ++kind) {
    SCOPED_TRACE(kind == 0 ? "8-bit mono 8000 Hz" : "16-bit stereo 44100 Hz");
    TempFolder folder;
    if (kind == 0) WriteWav(folder.file(L"msg.wav"), 3.4, 8000, 8, 1);
    else WriteWav(folder.file(L"msg.wav"), 3.4, 44100, 16, 2);
    WriteFileBytes(folder.file(L"orvalen.txt"), OneSlotList("msg.wav", "8"));
    ASSERT_EQ(Ctl({L"reset"}), 0);
    RunningProgram p(folder, L"");
    ASSERT_TRUE(p.WaitForMainWindow());
    // Slot 1 fires on its 9th tick, in the "RF  -" mode of start-up, and
    // again 9 ticks later: the 3.4 s message is over by then.
    ASSERT_TRUE(WaitUntil([&] { return p.Text(kPtt) == "PTT ON"; }, 15s));
    EXPECT_TRUE(WaitUntil([&] { return p.Text(kText3) == "00:00:03"; }, 3s)) << p.Text(kText3);
    // The indicator turns red before the key is asked for, and the call
    // crosses to the host's thread and process: it may be a moment behind.
    EXPECT_TRUE(WaitUntil([&] { return Count(HostCalls(), "SetTransmit(-1)") == 1; }, 2s));
    ASSERT_TRUE(WaitUntil([&] { return p.Text(kText2) == "00:00:03"; }, 6s));
    EXPECT_EQ(p.Text(kPtt), "PTT ON");
    // One tick after "Time Used" reaches "Length" the playback ends.
    EXPECT_TRUE(WaitUntil([&] { return p.Text(kPtt) == "PTT OFF"; }, 2500ms));
    auto calls = HostCalls();
    auto on = std::find(calls.begin(), calls.end(), "SetTransmit(-1)");
    ASSERT_NE(on, calls.end());
    EXPECT_NE(std::find(on, calls.end(), "SetTransmit(0)"), calls.end());
    p.Click(kSair);
    p.WaitForExit();
    Ctl({L"die"});
    WaitUntil([] { return Ctl({L"sinks"}) == 3; }, 10s);
  }
}

namespace {
// The test host's own notes as well as its calls.
bool HostLogHas(const std::string& text) {
  std::string out;
  Ctl({L"calls"}, &out);
  return out.find(text) != std::string::npos;
}
}  // namespace

TEST_F(TestHostE2E, AHostGoneWithoutClosingIsWaitedForAndConnectedAgain) {
  WriteWav(dir.file(L"ident.wav"), 1.0);
  OneSlot("ident.wav", "3");
  Start();
  SelectRfIp();
  ASSERT_TRUE(WaitUntil([&] { return !LoggedTimes("TransmitFile(").empty(); }, 10s));

  ASSERT_EQ(Ctl({L"disconnect"}), 0);
  EXPECT_TRUE(WaitUntil([&] { return program->Caption().find("EchoLink desconectado") != std::string::npos; }, 2s))
      << program->Caption();
  EXPECT_EQ(program->Caption(), " Orvalen   PY2TST-L - EchoLink desconectado");
  EXPECT_EQ(program->Text(kPtt), "PTT OFF");
  ASSERT_TRUE(WaitUntil([] { return Ctl({L"sinks"}) == 3; }, 5s)) << "the test host did not exit";
  // The next host instance starts from an empty log, with another name.
  ASSERT_EQ(Ctl({L"reset"}), 0);
  ASSERT_EQ(Ctl({L"station", L"PY2NEW-L"}), 0);
  Sleep(4000);
  EXPECT_EQ(program->Text(kTempBase), "0") << "a due slot waits for the host";
  EXPECT_TRUE(program->Running());
  EXPECT_FALSE(program->MessageBoxOpen());

  ASSERT_TRUE(WaitUntil([&] { return program->Caption() == " Orvalen   PY2NEW-L"; }, 15s)) << program->Caption();
  EXPECT_TRUE(HostLogHas("# server started"));
  auto calls = HostCalls();
  auto first = std::find_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("StationObject", 0) != 0; });
  ASSERT_NE(first, calls.end());
  EXPECT_EQ(*first, "SetTransmit(0)") << "the new host is unkeyed before anything else";
  EXPECT_EQ(calls.front(), "SetTransmit(0)");
  ASSERT_TRUE(WaitUntil([&] {
    auto c = HostCalls();
    return std::any_of(c.begin(), c.end(), [](const std::string& s) { return s.rfind("TransmitFile(", 0) == 0; });
  }, 5s)) << "the waiting slot goes out through the new host";
  EXPECT_TRUE(WaitUntil([&] { return program->Text(kPtt) == "PTT OFF"; }, 2s));
  EXPECT_FALSE(program->MessageBoxOpen());

  auto logged = Logged();
  auto has = [&](const std::string& prefix) {
    return std::any_of(logged.begin(), logged.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
  };
  EXPECT_TRUE(has("host lost: "));
  EXPECT_TRUE(has("host reconnect attempt"));
  EXPECT_TRUE(has("host reconnected: SetTransmit(0), StationName -> PY2NEW-L"));

  // The way out works as before with the new host.
  program->Click(kSair);
  EXPECT_EQ(program->WaitForExit(), 0);
  EXPECT_EQ(HostCalls().back(), "ExitSignal(0)");
}

TEST_F(TestHostE2E, EndingTheProgramWhileTheHostIsGoneShowsNoError) {
  Start();
  ASSERT_EQ(Ctl({L"disconnect"}), 0);
  ASSERT_TRUE(WaitUntil([&] { return program->Caption().find("EchoLink desconectado") != std::string::npos; }, 3s));
  ASSERT_TRUE(WaitUntil([] { return Ctl({L"sinks"}) == 3; }, 5s));
  ASSERT_EQ(Ctl({L"reset"}), 0);
  program->Click(kSair);
  EXPECT_EQ(program->WaitForExit(), 0);
  EXPECT_TRUE(HostCalls().empty()) << "nothing reached a host that was not there";
}

TEST_F(TestHostE2E, TheSessionEndingUnkeysAndSignalsTheHostEvenWithTheQuestionOpen) {
  Start();
  // wineboot sends the system's WM_QUERYENDSESSION / WM_ENDSESSION pair; it
  // waits for the close question without a time limit, where Windows would
  // end the session after its own: that last step is sent here.
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"wineboot.exe --end-session --shutdown";
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  auto box = program->WaitForMessageBox(10s);
  ASSERT_NE(box.hwnd, nullptr) << "the close question is asked for the session end too";
  EXPECT_EQ(box.title, "Sai do programa");
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(program->mainWindow(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_EQ(program->WaitForExit(), 0);
  auto calls = HostCalls();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "SetTransmit(0)");
  EXPECT_EQ(calls.back(), "ExitSignal(0)");
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0) << "wineboot still waits";
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
}
