#pragma once
// What the end-to-end suites share about the COM test host: the main
// window's control ids they drive, the host's control commands and call
// log, and a fixture that never leaves a test host running behind a test.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"

namespace orv::e2e {

// The main window's controls, by the ids the program gives them.
constexpr int kCheckBase = 1001, kMensBase = 1011, kContBase = 1021, kTempBase = 1031;
constexpr int kCheck20 = 1040, kCheck21 = 1041, kPtt = 1050, kShowTime = 1051, kDtmf = 1052, kText2 = 1054,
              kText3 = 1055;
constexpr int kSair = 1061, kGravar = 1064;

// A control command to the test host ("reset", "busy1 on", "calls", ...):
// its exit code, and what it printed when `out` asks for it.
int Ctl(const std::vector<std::wstring>& args, std::string* out = nullptr);
// The test host's calls so far, one per line, without its own notes.
std::vector<std::string> HostCalls();
// Whether the test host's log (calls and its own notes) has this line.
bool HostLogHasLine(const std::string& line);

// One line of the program's own --host-log: when (seconds of the local day)
// and what ("SetTransmit(0) FAILED: ...", "host lost: ...").
struct ProgramLogLine {
  double at = 0;
  std::string op;
};
std::vector<ProgramLogLine> ReadProgramLog(const std::wstring& path);
// The local time of day now, in seconds, as the program's log counts them.
double SecondsOfDayNow();

// The real program against the test host, which starts each test reset.
struct TestHostTest : ::testing::Test {
  void SetUp() override { ASSERT_EQ(Ctl({L"reset"}), 0); }
  // A program ended from outside never releases its host object, and a COM
  // server under Wine holds the test runner's output open while it lives:
  // end the server with the test.
  void TearDown() override;
  // Starts the program with `args` and waits until it is connected, which
  // it is once its event sink is.
  void Start(const std::wstring& args);
  // Ticking "RF + IP" while "RF  -" is ticked leaves both clear; the second
  // click ticks it.
  void SelectRfIp();

  TempFolder dir;
  std::unique_ptr<RunningProgram> program;
};

}  // namespace orv::e2e
