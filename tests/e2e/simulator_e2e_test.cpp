// The real program with its built-in simulated host: start-up and the ways it
// ends, seen from outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/e2e/e2e_support.h"

using namespace orv::e2e;

namespace {

// Control ids of the main window and of the simulator window.
constexpr int kPtt = 1050, kSair = 1061;
constexpr int kSimClose = 107;

struct SimulatorE2E : ::testing::Test {
  void SetUp() override {
    program = std::make_unique<RunningProgram>(dir, L"--host=simulator --host-log=host.log");
    ASSERT_TRUE(program->started());
    ASSERT_TRUE(program->WaitForMainWindow()) << "no main window";
  }
  std::vector<std::string> Operations() {
    std::vector<std::string> ops;
    for (const auto& l : ReadLines(dir.file(L"host.log"))) ops.push_back(LogOperation(l));
    return ops;
  }
  bool Logged(const std::string& op) {
    auto ops = Operations();
    return std::find(ops.begin(), ops.end(), op) != ops.end();
  }
  HWND Simulator() {
    HWND sim = nullptr;
    WaitUntil([&] { return (sim = program->FindWindowOfClass(L"OrvalenHostSimulator")) != nullptr; }, 5s);
    return sim;
  }

  TempFolder dir;
  std::unique_ptr<RunningProgram> program;
};

}  // namespace

TEST_F(SimulatorE2E, StartsWithTheStationInTheCaptionAndTheTransmitterUnkeyed) {
  EXPECT_EQ(program->Caption(), " Orvalen   PY2SIM-L");
  EXPECT_EQ(program->Text(kPtt), "PTT OFF");
  ASSERT_TRUE(WaitUntil([&] { return Operations().size() >= 2; }));
  auto ops = Operations();
  EXPECT_EQ(ops[0], "StationName -> PY2SIM-L");
  EXPECT_EQ(ops[1], "SetTransmit(0)");
  EXPECT_NE(Simulator(), nullptr) << "the host simulator window opens beside the main window";
}

TEST_F(SimulatorE2E, CloseQuestionAnsweredNoKeepsTheProgramRunning) {
  program->PostClose();
  MessageBoxInfo box = program->WaitForMessageBox();
  ASSERT_NE(box.hwnd, nullptr);
  EXPECT_EQ(box.title, "Sai do programa");
  EXPECT_EQ(box.text, "Tem certeza que quer encerrar o programa? ");
  program->Answer(box, IDNO);
  EXPECT_EQ(program->WaitForExit(1500ms), -1) << "the program must keep running";
  EXPECT_FALSE(Logged("ExitSignal(0)"));
  EXPECT_FALSE(program->MessageBoxOpen());
}

TEST_F(SimulatorE2E, CloseQuestionAnsweredYesUnkeysSignalsAndExits) {
  program->PostClose();
  MessageBoxInfo box = program->WaitForMessageBox();
  ASSERT_NE(box.hwnd, nullptr);
  program->Answer(box, IDYES);
  EXPECT_EQ(program->WaitForExit(), 0);
  auto ops = Operations();
  ASSERT_GE(ops.size(), 2u);
  EXPECT_EQ(ops[ops.size() - 2], "SetTransmit(0)");
  EXPECT_EQ(ops.back(), "ExitSignal(0)");
}

TEST_F(SimulatorE2E, SairEndsWithoutAsking) {
  program->Click(kSair);
  EXPECT_EQ(program->WaitForExit(), 0);
  EXPECT_FALSE(program->MessageBoxOpen());
  auto ops = Operations();
  ASSERT_GE(ops.size(), 2u);
  EXPECT_EQ(ops[ops.size() - 2], "SetTransmit(0)");
  EXPECT_EQ(ops.back(), "ExitSignal(0)");
}

TEST_F(SimulatorE2E, HostClosingEndsWithoutQuestionOrExitSignal) {
  HWND sim = Simulator();
  ASSERT_NE(sim, nullptr);
  ClickWindow(GetDlgItem(sim, kSimClose));
  EXPECT_EQ(program->WaitForExit(), 0);
  auto ops = Operations();
  auto closing = std::find(ops.begin(), ops.end(), "event Closing");
  ASSERT_NE(closing, ops.end());
  ASSERT_NE(closing + 1, ops.end());
  EXPECT_EQ(*(closing + 1), "SetTransmit(0)");
  EXPECT_FALSE(Logged("ExitSignal(0)"));
}
