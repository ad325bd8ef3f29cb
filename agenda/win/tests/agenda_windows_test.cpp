// The Agenda and record windows in this process, over the test doubles: what
// they list, that a second choice brings back the same window, the hover
// text of the timeline; and, with ORV_SCREENSHOT_DIR set, pictures of both.
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "agenda/win/agenda_window.h"
#include "agenda/win/agenda_windows.h"
#include "agenda/win/record_window.h"
#include "audio/message_audio.h"
#include "platform/win/scoped.h"
#include "platform/win/text.h"
#include "tests/support/fake_audio_files.h"
#include "tests/support/fake_worker.h"
#include "tests/support/form_fixture.h"
#include "tests/support/win/pump_messages.h"

using namespace orv;
using namespace orv::win;
using orv::test::PumpMessagesFor;

namespace {

std::string Wav(double seconds) {
  auto le = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  const auto n = static_cast<std::uint32_t>(seconds * 8000);
  return "RIFF" + le(36 + n) + "WAVE" + "fmt " + le(16) + std::string("\x01\x00\x01\x00", 4) + le(8000) + le(8000) +
         std::string("\x01\x00\x08\x00", 4) + "data" + le(n) + std::string(n, '\x80');
}

// The window as the screen shows it, frame included, as a 24-bit BMP.
void SaveWindowPicture(HWND w, const char* name) {
  const char* dir = std::getenv("ORV_SCREENSHOT_DIR");
  if (!dir) return;
  RECT r;
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFOHEADER bih{sizeof bih, width, height, 1, 24, BI_RGB};
  void* bits = nullptr;
  WindowDc screen(nullptr);
  UniqueBitmap dib(CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS, &bits, nullptr, 0));
  UniqueMemDc mem(CreateCompatibleDC(screen.get()));
  if (!dib.get() || !mem.get()) return;
  {
    ScopedSelect sel(mem.get(), dib.get());
    BitBlt(mem.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  const DWORD size = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bih + size), 0, 0, sizeof fh + sizeof bih};
  const std::wstring path = Widen(std::string(dir) + "\\" + name);
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    fwrite(&fh, sizeof fh, 1, f);
    fwrite(&bih, sizeof bih, 1, f);
    fwrite(bits, 1, size, f);
    fclose(f);
  }
}

struct AgendaWindowsTest : ::testing::Test, test::FormFixture {
  AgendaWindowsTest() {
    main_ = CreateWindowExW(0, L"STATIC", L"principal", WS_OVERLAPPEDWINDOW, 20, 20, 300, 200, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    services.record = &record;
    services.audio = &audio;
    time.setWallDate(2026, 12, 8);
    time.setWallStart(14 * 3600 + 20 * 60);
    const std::string week =
        "# Agenda da esta\xE7\xE3o\r\n"
        "07:00 todos bom-dia.wav\r\n"
        "12:00 seg,ter,qua,qui,sex meio-dia.wav\r\n"
        "19:50 ter rede-de-terca.wav\r\n"
        "-21:00 todos desligada.wav\r\n"
        "18:30 2026-12-09 aviso-unico.wav\r\n"
        "09:15 sab,dom fim-de-semana.wav\r\n"
        "22:00 sex falta.wav\r\n"
        "25:00 todos linha-errada.wav\r\n";
    files.files[kAgendaFileName] = week;
    for (auto [name, secs] : {std::pair{"bom-dia.wav", 40.0}, {"meio-dia.wav", 25.0}, {"rede-de-terca.wav", 90.0},
                              {"desligada.wav", 5.0}, {"aviso-unico.wav", 60.0}, {"fim-de-semana.wav", 30.0},
                              {"ident.wav", 8.0}, {"hora.wav", 20.0}})
      files.files[fields.caminho + name] = Wav(secs);
    // Two armed slots: the identification every 10 minutes, a notice hourly.
    check[0].setValue(1);
    mens[0].setText("ident.wav");
    cont[0].setText("599");
    temp[0].setText("120");
    check[2].setValue(1);
    mens[2].setText("hora.wav");
    cont[2].setText("3599");
    temp[2].setText("2400");
    agenda.load();
    record.add("slot 1", "ident.wav", "RF+IP", "enviada");
    record.add("agenda 3", "meio-dia.wav", "RF", "enviada ap\xC3\xB3s 12 s de espera");
    record.add("agenda 8", "falta.wav", "RF", "arquivo n\xC3\xA3o existe");
    record.add("DTMF", "identifica\xC3\xA7\xC3\xA3o", "RF", "enviada");
    record.add("agenda 4", "rede-de-terca.wav", "RF+IP", "n\xC3\xA3o enviada: host ocupado por 10 min");
  }
  ~AgendaWindowsTest() override {
    windows.reset();
    DestroyWindow(main_);
  }
  AgendaWindowsContext Context() {
    return {main_, nullptr, &agenda, &record, &controls, &services, &fields, [](int slot) { return slot != 1; }};
  }

  HWND main_ = nullptr;
  test::FakeAudioFiles audioFiles{files};
  test::FakeWorker worker;
  MessageAudio audio{audioFiles, nullptr, worker};
  TransmissionRecord record{time};
  struct : LocalPlayer {
    bool load(const std::string&) override { return false; }
    bool run() override { return false; }
    void unload() override {}
    bool playing() const override { return false; }
  } player;
  TransmitterGuard guard{controls, services, fields, player};
  Agenda agenda{controls, services, fields, guard};
  std::unique_ptr<AgendaWindows> windows;
};

TEST_F(AgendaWindowsTest, AgendaWindowListsTheWeekAndComesBackToTheFront) {
  ASSERT_EQ(dialogs.shown.size(), 1u) << "the unreadable line is reported once at load";
  windows = std::make_unique<AgendaWindows>(Context());
  windows->ShowAgenda();
  HWND w = windows->agendaHwnd();
  ASSERT_NE(w, nullptr);
  HWND list = GetDlgItem(w, AgendaWindow::kIdList);
  // Seven entries and the unreadable line; the comment is not listed.
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 8);
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(w));
  windows->ShowAgenda();
  EXPECT_EQ(windows->agendaHwnd(), w);
  EXPECT_TRUE(IsWindowVisible(w));

  // Hovering the identification's first mark (120 + 1 s from now, lane 1).
  HWND timeline = GetDlgItem(w, AgendaWindow::kIdTimeline);
  RECT c;
  GetClientRect(timeline, &c);
  const Dpi dpi = Dpi::ForWindow(w);
  const int left = dpi.px(56), width = c.right - dpi.px(8) - left;
  const int x = left + static_cast<int>(121.0 / 86400 * width), y = dpi.px(18) + dpi.px(4);
  // The pointer itself goes there too, or the control hears it leave at once.
  POINT p{x, y};
  ClientToScreen(timeline, &p);
  SetCursorPos(p.x, p.y);
  SendMessageW(timeline, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  wchar_t buf[256] = {};
  GetDlgItemTextW(w, AgendaWindow::kIdHover, buf, 256);
  EXPECT_EQ(Narrow(buf), "14:22  slot 1  ident.wav");
  PumpMessagesFor(300);
  SaveWindowPicture(w, "agenda.bmp");
}

TEST_F(AgendaWindowsTest, RecordWindowListsNewestFirstAndCopies) {
  windows = std::make_unique<AgendaWindows>(Context());
  windows->ShowRecord();
  HWND w = windows->recordHwnd();
  ASSERT_NE(w, nullptr);
  HWND list = GetDlgItem(w, RecordWindow::kIdList);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5);
  record.add("slot 3", "hora.wav", "RF+IP", "host falhou: sem resposta");
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 5) << "shown once the sender is done, not inside the send";
  PumpMessagesFor(50);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 6);
  wchar_t cell[128] = {};
  LVITEMW item{};
  item.iSubItem = 1;
  item.pszText = cell;
  item.cchTextMax = 128;
  SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(Narrow(cell), "slot 3");
  PumpMessagesFor(300);
  SaveWindowPicture(w, "registro.bmp");
}

std::string CellText(HWND list, int row, int column) {
  wchar_t cell[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = cell;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return Narrow(cell);
}

TEST_F(AgendaWindowsTest, AMonthsRecordShowsTheNewestAndAnEntryIsOneRow) {
  windows = std::make_unique<AgendaWindows>(Context());
  for (int i = 0; i < 100000; ++i) record.add("slot " + std::to_string(i % 9 + 1), "ident.wav", "RF", std::to_string(i));
  windows->ShowRecord();
  HWND w = windows->recordHwnd();
  HWND list = GetDlgItem(w, RecordWindow::kIdList);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(kRecordsKept));
  EXPECT_EQ(CellText(list, 0, 4), "99999");
  EXPECT_EQ(CellText(list, static_cast<int>(kRecordsKept) - 1, 4), "90000");
  wchar_t count[256] = {};
  GetDlgItemTextW(w, RecordWindow::kIdCount, count, 256);
  EXPECT_EQ(Narrow(count), "100005 registros nesta sess\xC3\xA3o; aqui os 10000 mais novos, o mais novo em cima.");
  for (int i = 0; i < 200; ++i) record.add("DTMF", "identifica\xC3\xA7\xC3\xA3o", "RF", "enviada");
  PumpMessagesFor(50);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(kRecordsKept));
  EXPECT_EQ(CellText(list, 0, 0).size(), 19u);
  EXPECT_EQ(CellText(list, 0, 1), "DTMF");
  EXPECT_EQ(CellText(list, 200, 4), "99999");
  GetDlgItemTextW(w, RecordWindow::kIdCount, count, 256);
  EXPECT_EQ(Narrow(count).substr(0, 16), "100205 registros");
  PumpMessagesFor(100);
}

}  // namespace
