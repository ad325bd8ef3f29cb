// "Ajuda" and "Sobre" in the real program: modal windows that stop the main
// window's input but not its schedule.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/e2e/e2e_support.h"

using namespace orv::e2e;

namespace {

constexpr int kCheck20 = 1040, kCheck21 = 1041, kSobre = 1062, kAjuda = 1063;
constexpr int kHelpText = 10, kRetornar = 11;

struct InfoWindowsE2E : ::testing::Test {
  void SetUp() override {
    WriteWav(dir.file(L"ident.wav"), 0.5);
    WriteFileBytes(dir.file(L"orvalen.txt"), OneSlotList("ident.wav", "1"));
    program = std::make_unique<RunningProgram>(dir, L"--host=simulator --host-log=host.log");
    ASSERT_TRUE(program->WaitForMainWindow());
    // "RF + IP": every send is one line in the host log, within one tick.
    program->Click(kCheck21);
    ASSERT_TRUE(WaitUntil([&] { return program->Check(kCheck20) == 0; }));
    program->Click(kCheck21);
    ASSERT_TRUE(WaitUntil([&] { return program->Check(kCheck21) == 1; }));
  }
  int Sends() {
    auto lines = ReadLines(dir.file(L"host.log"));
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
      return LogOperation(l).rfind("TransmitFile(", 0) == 0;
    }));
  }
  HWND WaitForWindow(const wchar_t* cls) {
    HWND w = nullptr;
    WaitUntil([&] { return (w = program->FindWindowOfClass(cls)) != nullptr; }, 10s);
    return w;
  }
  // Opens the window, checks that the schedule runs behind it, closes it.
  HWND OpenCheckAndClose(int button, const wchar_t* cls) {
    program->Click(button);
    HWND w = WaitForWindow(cls);
    EXPECT_NE(w, nullptr);
    if (!w) return nullptr;
    EXPECT_FALSE(IsWindowEnabled(program->mainWindow())) << "modal: the main window takes no input";
    const int before = Sends();
    EXPECT_TRUE(WaitUntil([&] { return Sends() >= before + 2; }, 6s)) << "slots keep sending behind the window";
    ClickWindow(GetDlgItem(w, kRetornar));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(w); })) << "closing unloads the window";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program->mainWindow()) != FALSE; }));
    return w;
  }

  TempFolder dir;
  std::unique_ptr<RunningProgram> program;
};

}  // namespace

TEST_F(InfoWindowsE2E, HelpIsModalShowsItsTextAndComesBackFresh) {
  program->Click(kAjuda);
  HWND help = WaitForWindow(L"OrvalenAjuda");
  ASSERT_NE(help, nullptr);
  wchar_t title[32];
  GetWindowTextW(help, title, 32);
  EXPECT_STREQ(title, L"Ajuda");
  const std::string t = WindowText(GetDlgItem(help, kHelpText));
  EXPECT_EQ(t.rfind("Orvalen foi criado para que \r\n", 0), 0u) << t;
  EXPECT_NE(t.find("em \"8 BITS - MONO - 8000 hz\".\r\n \r\n"), std::string::npos);
  ClickWindow(GetDlgItem(help, kRetornar));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(help); }));
  HWND first = OpenCheckAndClose(kAjuda, L"OrvalenAjuda");
  EXPECT_FALSE(IsWindow(first)) << "closing unloads the window";
}

TEST_F(InfoWindowsE2E, AboutIsModalAndComesBackFresh) {
  HWND first = OpenCheckAndClose(kSobre, L"OrvalenSobre");
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(IsWindow(first));
  HWND second = OpenCheckAndClose(kSobre, L"OrvalenSobre");
  EXPECT_NE(second, nullptr);
}
