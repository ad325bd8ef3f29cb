#pragma once
// Pictures made in code and sheets written out, for the test programs and
// the galleries; the control itself loads its pictures through gdi_picture.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "buttons/color.h"
#include "buttons/win/gdi_counter.h"

namespace orv::buttons::win {

// A top-down 32-bit DIB section filled by `paint(x, y)` (0x00BBGGRR).
template <class Paint>
CountedBitmap MakeDib(int w, int h, Paint paint) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  CountedBitmap bmp(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bits) return bmp;
  auto* px = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Rgb32 c = paint(x, y);  // DIB pixels are 0x00RRGGBB
      px[y * w + x] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  ::GdiFlush();
  return bmp;
}

// `bitmap` (not selected into `dc`) as a 24-bit BMP file.
inline bool WriteBmp(const wchar_t* path, HDC dc, HBITMAP bitmap, int w, int h) {
  BITMAPINFOHEADER bih{};
  bih.biSize = sizeof bih;
  bih.biWidth = w;
  bih.biHeight = h;  // bottom-up: Wine loads a top-down file as all black
  bih.biPlanes = 1;
  bih.biBitCount = 24;
  const int stride = (w * 3 + 3) & ~3;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * h);
  if (!::GetDIBits(dc, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS)) return false;
  BITMAPFILEHEADER bfh{};
  bfh.bfType = 0x4D42;
  bfh.bfOffBits = sizeof bfh + sizeof bih;
  bfh.bfSize = bfh.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* f = _wfopen(path, L"wb");
  if (!f) return false;
  const bool ok = std::fwrite(&bfh, sizeof bfh, 1, f) == 1 && std::fwrite(&bih, sizeof bih, 1, f) == 1 &&
                  std::fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace orv::buttons::win
