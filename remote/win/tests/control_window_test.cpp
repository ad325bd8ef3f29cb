// The "Controle pelo rádio" window in this process, over the test doubles:
// what it shows, what "Gravar" writes and refuses, the stop from the radio
// seen while it is open; with ORV_SCREENSHOT_DIR set, a picture of it.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win/text.h"
#include "remote/tests/remote_fixture.h"
#include "remote/win/control_window.h"
#include "tests/support/win/pump_messages.h"
#include "tests/support/win/window_picture.h"

using namespace orv;
using namespace orv::win;

namespace {

struct ControlWindowTest : ::testing::Test, test::RemoteFixture {
  ControlWindowTest() {
    main_ = CreateWindowExW(0, L"STATIC", L"principal", WS_OVERLAPPEDWINDOW, 20, 20, 300, 200, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    clips();
    files.files.erase("C:\\Orvalen\\hora\\h07.wav");
    files.files["C:\\Orvalen\\confirma.wav"] = "RIFF";
    remote.load();
    window = std::make_unique<ControlWindow>(ControlWindowContext{main_, nullptr, &remote, &services, &fields});
  }
  ~ControlWindowTest() override {
    window.reset();
    DestroyWindow(main_);
  }
  std::string Text(int id) {
    wchar_t buf[4096] = {};
    GetDlgItemTextW(window->handle(), id, buf, 4096);
    return Narrow(buf);
  }
  void Type(int id, const wchar_t* text) { SetDlgItemTextW(window->handle(), id, text); }
  void Click(int id) {
    SendMessageW(window->handle(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window->handle(), id)));
  }

  HWND main_ = nullptr;
  std::unique_ptr<ControlWindow> window;
};

TEST_F(ControlWindowTest, ShowsTheSettingsTheFolderAndTheCommands) {
  window->Show();
  HWND w = window->handle();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(Narrow([&] {
              wchar_t t[64] = {};
              GetWindowTextW(w, t, 64);
              return std::wstring(t);
            }()),
            "Controle pelo r\xC3\xA1" "dio");
  EXPECT_EQ(SendDlgItemMessageW(w, ControlWindow::kIdPrefix, CB_GETCURSEL, 0, 0), 3);   // D
  EXPECT_EQ(Text(ControlWindow::kIdCode), "4821");
  EXPECT_EQ(Text(ControlWindow::kIdConfirmation), "confirma.wav");
  EXPECT_EQ(Text(ControlWindow::kIdState), "Controle pelo r\xC3\xA1" "dio ligado, com o prefixo D.");
  EXPECT_EQ(Text(ControlWindow::kIdClips), "Pasta hora incompleta: falta 1 arquivo (hora\\h07.wav).");
  EXPECT_NE(Text(ControlWindow::kIdHelp).find("3N\tLigar a mensagem N"), std::string::npos);
  // Closed, it is hidden; shown again, it is the same window.
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(w));
  window->Show();
  EXPECT_EQ(window->handle(), w);
  EXPECT_TRUE(IsWindowVisible(w));
  test::PumpMessagesFor(300);
  test::SaveWindowPicture(w, "controle.bmp");
}

TEST_F(ControlWindowTest, GravarWritesTheFileAndRefusesABadCode) {
  window->Show();
  Type(ControlWindow::kIdCode, L"12");
  Click(ControlWindow::kIdGravar);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].text.find("de 4 a 8 caracteres"), std::string::npos);
  EXPECT_EQ(files.files[kControlFileName], "prefixo D\r\ncodigo 4821\r\nconfirmacao confirma.wav\r\n");

  SendDlgItemMessageW(window->handle(), ControlWindow::kIdPrefix, CB_SETCURSEL, 1, 0);
  Type(ControlWindow::kIdCode, L"a1b2c3");   // read in upper case, however it was typed
  Type(ControlWindow::kIdConfirmation, L"falta.wav");
  Click(ControlWindow::kIdGravar);
  ASSERT_EQ(dialogs.shown.size(), 2u);   // the missing confirmation is said, and saved all the same
  EXPECT_NE(dialogs.shown[1].text.find("falta.wav n\xC3\xA3o existe"), std::string::npos);
  EXPECT_EQ(files.files[kControlFileName], "prefixo B\r\ncodigo A1B2C3\r\nconfirmacao falta.wav\r\n");
  EXPECT_EQ(files.files[kControlBackupName], "prefixo D\r\ncodigo 4821\r\nconfirmacao confirma.wav\r\n");
  EXPECT_EQ(Text(ControlWindow::kIdSaved), "Gravado.");
  EXPECT_TRUE(remote.onDtmf("BA1B2C322"));

  // Stopped from the radio while the window is open: it says so at once.
  remote.onDtmf("BA1B2C30");
  EXPECT_NE(Text(ControlWindow::kIdState).find("parada pelo r\xC3\xA1" "dio"), std::string::npos);
  remote.resumeFromMenu();
  EXPECT_EQ(Text(ControlWindow::kIdState).find("parada"), std::string::npos);
}

}  // namespace
