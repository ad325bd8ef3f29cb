// Pictures of the three windows for a person to look at, one BMP each, as the
// screen shows them (frame included). Disabled: tools/screenshots.sh runs it
// with --gtest_also_run_disabled_tests and ORV_SCREENSHOT_DIR set.
#include <gtest/gtest.h>

#include "app/win/app_windows.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "infowindows/win/info_windows.h"
#include "platform/win/dpi.h"
#include "platform/win/scoped.h"
#include "platform/win/text.h"
#include "scheduler/form_controls.h"
#include "scheduler/win/form1_window.h"
#include "tests/support/win/pump_messages.h"

using namespace orv;
using namespace orv::win;
using orv::test::PumpMessagesFor;

namespace {

// The window as it is on the screen, frame and all, as a 24-bit BMP.
bool SaveWindowPicture(HWND w, const std::wstring& path) {
  RECT r;
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;  // bottom-up, as the file wants it
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  WindowDc screen(nullptr);
  UniqueBitmap dib(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return false;
  UniqueMemDc mem(CreateCompatibleDC(screen.get()));
  {
    ScopedSelect sel(mem.get(), dib.get());
    BitBlt(mem.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + size;
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
            fwrite(bits, 1, size, f) == size;
  return fclose(f) == 0 && ok;
}


// Waits for the modal window of `cls`, lets it paint, saves it and closes it.
struct ModalShot {
  static inline ModalShot* current = nullptr;
  const wchar_t* cls;
  std::wstring path;
  int ticksSeen = 0;
  bool saved = false;
  ULONGLONG deadline = GetTickCount64() + 10000;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalShot* s = current;
    if (!s) return;
    HWND w = FindWindowW(s->cls, nullptr);
    if (w && IsWindowVisible(w) && ++s->ticksSeen == 40) {
      RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      s->saved = SaveWindowPicture(w, s->path);
      PostMessageW(w, WM_CLOSE, 0, 0);
    } else if (GetTickCount64() > s->deadline && w) {
      PostMessageW(w, WM_CLOSE, 0, 0);
    }
  }
};

std::wstring OutPath(const char* name) {
  const char* dir = std::getenv("ORV_SCREENSHOT_DIR");
  const Dpi dpi = Dpi::ForSystem();
  return Widen(dir ? dir : ".") + L"\\" + Widen(name) + L"-" + std::to_wstring(dpi.value()) + L".bmp";
}

// The program's icon file, beside the sources (the test has no resources).
std::wstring IconFile() {
  std::string src = __FILE__;
  const std::string tail = "tests/gallery_test.cpp";
  if (src.size() < tail.size()) return {};
  std::string path = src.substr(0, src.size() - tail.size()) + "res/orvalen.ico";
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  return Widen(path);
}

}  // namespace

TEST(Gallery, DISABLED_SaveWindowPictures) {
  UniqueIcon icon(static_cast<HICON>(
      LoadImageW(nullptr, IconFile().c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE)));
  Form1Window main;
  // The program's own buttons, loaded from their stored settings, with the
  // icons this test program carries as resources.
  AppWindows windows(GetModuleHandleW(nullptr), main);
  windows.InstallButtons();
  ASSERT_TRUE(main.Create(icon.get()));
  main.controls().Caption->setText(" Orvalen   PU2ORV-L");
  main.controls().PTT->setTextColor(kPttOffColor);
  main.controls().mens[0]->setText("ident.wav");
  main.controls().cont[0]->setText("600");
  main.controls().temp[0]->setText("587");
  main.controls().Check[0]->setValue(1);
  main.controls().Check20->setValue(1);
  main.Show();
  PumpMessagesFor(800);
  EXPECT_TRUE(SaveWindowPicture(main.hwnd(), OutPath("main")));

  for (const auto& [cls, name] : {std::pair{L"OrvalenAjuda", "help"}, std::pair{L"OrvalenSobre", "about"}}) {
    ModalShot shot{cls, OutPath(name)};
    ModalShot::current = &shot;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, &ModalShot::Tick);
    if (std::string(name) == "help") windows.ShowHelp();
    else windows.ShowAbout();
    KillTimer(nullptr, timer);
    ModalShot::current = nullptr;
    EXPECT_TRUE(shot.saved) << name;
  }
}
