// The slot rows' own input on the real window: the Open dialog, a drop from
// Explorer, the context menu, hearing a file and sending a slot at once.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/win/scoped.h"
#include "platform/win/services.h"
#include "platform/win/text.h"
#include "scheduler/main_form.h"
#include "scheduler/slot_actions.h"
#include "scheduler/win/directshow_playback.h"
#include "scheduler/win/form1_window.h"
#include "scheduler/win/open_audio_dialog.h"
#include "tests/support/fake_file_picker.h"
#include "tests/support/fake_services.h"
#include "tests/support/recording_host.h"

using namespace orv;
using namespace orv::win;
namespace fs = std::filesystem;

namespace {

std::string SilentWav(double seconds) {
  const std::uint32_t n = static_cast<std::uint32_t>(seconds * 8000);
  std::string w = "RIFF";
  auto put = [&w](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) w += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  put(36 + n, 4);
  w += "WAVEfmt ";
  put(16, 4), put(1, 2), put(1, 2), put(8000, 4), put(8000, 4), put(1, 2), put(8, 2);
  w += "data";
  put(n, 4);
  w += std::string(n, '\x80');
  return w;
}

struct SlotRowsTest : ::testing::Test {
  void SetUp() override {
    dir = fs::temp_directory_path() / ("orvalen-rows-" + std::to_string(GetCurrentProcessId()));
    other = dir / "outra";
    fs::create_directories(other);
    for (const fs::path& p : {dir / "ident.wav", other / "aviso.wav"})
      std::ofstream(p, std::ios::binary) << SilentWav(3);
    ASSERT_TRUE(w.Create(nullptr));
    services.EchoLink = &host;
    services.timers = &timers;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.files = &files;
    services.playback = &playback;
    services.locale = &locale;
    services.app = &app;
    form = std::make_unique<MainForm>(w.controls(), services, FormHooks{});
    form->fields().caminho = Narrow(dir.wstring()) + "\\";
    actions = std::make_unique<SlotActions>(w.controls(), services, form->fields(), form->scheduler(), form->guard(), picker);
    w.SetSlotActions(actions.get());
  }
  void TearDown() override {
    w.Detach();
    actions.reset();
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  std::string Mens(int slot) { return w.controls().mens[slot]->text(); }

  ComApartment com;
  fs::path dir, other;
  Form1Window w;
  test::RecordingHost host;
  WinTimerService timers;
  test::FakeDialogs dialogs;
  WinClock clock;
  WinFileSystem files;
  DirectShowPlayback playback;
  WinLocale locale;
  test::FakeApp app;
  FormServices services;
  test::FakeFilePicker picker;
  std::unique_ptr<MainForm> form;
  std::unique_ptr<SlotActions> actions;
};

// Types `name` into the Open dialog once it shows, as a user would.
std::thread Answer(const std::wstring& name, std::atomic<bool>& seen) {
  return std::thread([name, &seen] {
    for (int i = 0; i < 300; ++i) {
      HWND dlg = FindWindowW(L"#32770", kOpenAudioTitle);
      if (dlg) {
        seen = true;
        Sleep(200);
        HWND box = GetDlgItem(dlg, 0x47C);  // cmb13, the file-name box
        if (!box) box = GetDlgItem(dlg, 0x480);
        SetWindowTextW(box, name.c_str());
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        PostMessageW(dlg, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(50);
    }
  });
}

}  // namespace

TEST_F(SlotRowsTest, TheOpenDialogFillsTheBoxAndLeavesTheCurrentDirectory) {
  WinAudioFilePicker real(w.hwnd());
  SlotActions withDialog(w.controls(), services, form->fields(), form->scheduler(), form->guard(), real);
  w.SetSlotActions(&withDialog);
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  struct Case {
    std::wstring typed;
    std::string expected;
  } cases[] = {{L"ident.wav", "ident.wav"}, {(other / "aviso.wav").wstring(), Narrow((other / "aviso.wav").wstring())}};
  for (const Case& c : cases) {
    std::atomic<bool> seen{false};
    std::thread t = Answer(c.typed, seen);
    // F4 in the box opens the dialog.
    SendMessageW(w.control(Form1Window::kIdMensBase + 2), WM_KEYDOWN, VK_F4, 0);
    t.join();
    EXPECT_TRUE(seen);
    EXPECT_EQ(Mens(2), c.expected);
    wchar_t now[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, now);
    EXPECT_STREQ(now, before);
  }
  w.SetSlotActions(actions.get());
}

TEST_F(SlotRowsTest, DoubleClickOpensTheDialogAndADropFillsTheRowUnderIt) {
  picker.answer = Narrow((dir / "ident.wav").wstring());
  SendMessageW(w.control(Form1Window::kIdMensBase + 0), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Mens(0), "ident.wav");

  const std::wstring file = (other / "aviso.wav").wstring();
  const SIZE_T bytes = sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t);
  HGLOBAL g = GlobalAlloc(GHND, bytes);
  auto* df = static_cast<DROPFILES*>(GlobalLock(g));
  df->pFiles = sizeof(DROPFILES);
  df->pt = POINT{300, 88 + 40 + 32 * 4 + 10};  // row 5
  df->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), file.c_str(), file.size() * sizeof(wchar_t));
  GlobalUnlock(g);
  SendMessageW(w.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(g), 0);
  EXPECT_EQ(Mens(4), Narrow(file));
  EXPECT_EQ(Mens(3), "");
  EXPECT_EQ(Mens(5), "");
}

TEST_F(SlotRowsTest, TheBoxMenuHasTheEditCommandsThenTheSlotCommands) {
  HWND box = w.control(Form1Window::kIdMensBase + 1);
  w.controls().mens[1]->setText("ident.wav");
  SendMessageW(box, EM_SETSEL, 0, 5);
  auto texts = [](HMENU m) {
    std::vector<std::string> out;
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
      wchar_t buf[64] = L"";
      GetMenuStringW(m, i, buf, 64, MF_BYPOSITION);
      const bool grayed = GetMenuState(m, i, MF_BYPOSITION) & MF_GRAYED;
      out.push_back(Narrow(buf) + (grayed && buf[0] ? " (off)" : ""));
    }
    return out;
  };
  UniqueMenu m = w.slotRows().Build(1, box);
  EXPECT_EQ(texts(m.get()), (std::vector<std::string>{"&Desfazer (off)", "", "Recor&tar", "&Copiar",
                                                      texts(m.get())[4], "&Excluir", "", "Selecionar &tudo", "",
                                                      "&Procurar...", "O&uvir", "P&arar (off)", "E&nviar agora"}));
  EXPECT_EQ(texts(w.slotRows().Build(6, nullptr).get()),
            (std::vector<std::string>{"&Procurar...", "O&uvir (off)", "P&arar (off)", "E&nviar agora (off)"}));
  w.slotRows().Run(1, SlotRowMenu::kCut, box);
  EXPECT_EQ(Mens(1), ".wav");
  w.slotRows().Run(1, SlotRowMenu::kUndo, box);
  EXPECT_EQ(Mens(1), "ident.wav");

  // The real popup, opened by a right click on the countdown label's row.
  std::vector<std::string> shown;
  static std::vector<std::string>* sink;
  sink = &shown;
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND popup = FindWindowW(L"#32768", nullptr)) {
      HMENU m = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(m); ++i) {
        wchar_t buf[64] = L"";
        GetMenuStringW(m, i, buf, 64, MF_BYPOSITION);
        sink->push_back(Narrow(buf));
      }
    }
    EndMenu();
  });
  RECT r;
  GetWindowRect(w.control(Form1Window::kIdTempBase + 1), &r);
  SendMessageW(w.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(w.hwnd()), MAKELPARAM(r.left + 5, r.top + 5));
  EXPECT_EQ(shown, (std::vector<std::string>{"&Procurar...", "O&uvir", "P&arar", "E&nviar agora"}));
}

TEST_F(SlotRowsTest, ListenPlaysWithNoSetTransmitAndSendNowGoesOutOnceInEachMode) {
  w.controls().mens[0]->setText("ident.wav");
  w.controls().Check20->setValue(1);
  w.slotRows().Run(0, SlotRowMenu::kListen, nullptr);
  EXPECT_TRUE(actions->listening());
  EXPECT_TRUE(dialogs.shown.empty());
  w.slotRows().Run(0, SlotRowMenu::kStop, nullptr);
  EXPECT_FALSE(actions->listening());
  EXPECT_EQ(host.count("SetTransmit(-1)") + host.count("SetTransmit(0)"), 0);

  w.controls().cont[0]->setText("40");
  w.slotRows().Run(0, SlotRowMenu::kSendNow, nullptr);  // "RF  -": played here, keyed by the host
  EXPECT_EQ(host.count("SetTransmit(-1)"), 1);
  EXPECT_TRUE(form->transmission().playing());
  EXPECT_EQ(w.controls().temp[0]->text(), "40");
  form->guard().release();

  w.controls().Check20->setValue(0);
  w.controls().Check21->setValue(1);
  w.slotRows().Run(0, SlotRowMenu::kSendNow, nullptr);
  EXPECT_EQ(host.callsStartingWith("TransmitFile").size(), 1u);
}
