#include "platform/win/dpi.h"

namespace orv::win {

namespace {
// Not present before Windows 10 1607: look them up instead of linking them.
template <class Fn>
Fn User32(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
}  // namespace

Dpi Dpi::ForWindow(HWND hwnd) {
  static auto fn = User32<GetDpiForWindowFn>("GetDpiForWindow");
  if (fn && hwnd) {
    UINT d = fn(hwnd);
    if (d) return Dpi(static_cast<int>(d));
  }
  return ForSystem();
}

Dpi Dpi::ForSystem() {
  HDC dc = GetDC(nullptr);
  int d = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return Dpi(d);
}

int Dpi::metric(int index) const {
  static auto fn = User32<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (fn) return fn(index, static_cast<UINT>(dpi_));
  return MulDiv(GetSystemMetrics(index), dpi_, ForSystem().value());
}

HFONT CreateScaledFont(const FontSpec& spec, const Dpi& dpi) {
  LOGFONTW lf{};
  lf.lfHeight = dpi.fontHeight(spec.points);
  lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  const wchar_t* face = spec.face;
  BYTE family = FF_SWISS;
  if (lstrcmpiW(face, L"MS Sans Serif") == 0) face = L"Microsoft Sans Serif";
  else if (lstrcmpiW(face, L"Times New Roman") == 0) family = FF_ROMAN;
  lf.lfPitchAndFamily = VARIABLE_PITCH | family;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&lf);
}

}  // namespace orv::win
