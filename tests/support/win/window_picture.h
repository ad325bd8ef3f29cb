#pragma once
// Windows-side tests: a window as the screen shows it, frame included, as a
// 24-bit BMP in the folder ORV_SCREENSHOT_DIR names (nothing when unset).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::test {

inline void SaveWindowPicture(HWND w, const char* name) {
  const char* dir = std::getenv("ORV_SCREENSHOT_DIR");
  if (!dir) return;
  RECT r;
  GetWindowRect(w, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  BITMAPINFOHEADER bih{sizeof bih, width, height, 1, 24, BI_RGB};
  void* bits = nullptr;
  win::WindowDc screen(nullptr);
  win::UniqueBitmap dib(
      CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS, &bits, nullptr, 0));
  win::UniqueMemDc mem(CreateCompatibleDC(screen.get()));
  if (!dib.get() || !mem.get()) return;
  {
    win::ScopedSelect sel(mem.get(), dib.get());
    BitBlt(mem.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  const DWORD size = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bih + size), 0, 0, sizeof fh + sizeof bih};
  const std::wstring path = win::Widen(std::string(dir) + "\\" + name);
  if (FILE* f = _wfopen(path.c_str(), L"wb")) {
    fwrite(&fh, sizeof fh, 1, f);
    fwrite(&bih, sizeof bih, 1, f);
    fwrite(bits, 1, size, f);
    fclose(f);
  }
}

}  // namespace orv::test
