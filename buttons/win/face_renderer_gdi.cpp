#include "buttons/win/face_renderer_gdi.h"

#include "platform/win/dpi.h"

#include "buttons/win/gdi_picture.h"
#include "buttons/win/gdi_region.h"
#include "platform/win/scoped.h"
#include "platform/win/text.h"

namespace orv::buttons::win {

HANDLE LoadButtonPicture(const Picture& source, bool& isIcon) {
  isIcon = false;
  if (source.empty()) return nullptr;
  HINSTANCE module = nullptr;
  std::wstring name;
  UINT fromFile = 0;
  if (source.source.rfind("res:", 0) == 0) {
    module = ::GetModuleHandleW(nullptr);
    name = orv::win::Widen(source.source.substr(4));
  } else {
    name = orv::win::Widen(source.source);
    fromFile = LR_LOADFROMFILE;
  }
  // Icons at their standard size; the face scales a copy to PictureSize.
  if (HANDLE icon = ::LoadImageW(module, name.c_str(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | fromFile)) {
    isIcon = true;
    return icon;
  }
  return ::LoadImageW(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | fromFile);
}

HWND GdiFacePlatform::live() const {
  HWND w = window_ ? window_() : nullptr;
  return w && ::IsWindow(w) ? w : nullptr;
}

PictureInfo GdiFacePlatform::loadPicture(const Picture& source, int previousKind) {
  icon_.reset();
  bitmap_.reset();
  bool isIcon = false;
  HANDLE loaded = LoadButtonPicture(source, isIcon);
  if (!loaded) return PictureInfo{0, previousKind, 0, 0};
  if (isIcon) icon_.reset(static_cast<HICON>(loaded));
  else bitmap_.reset(static_cast<HBITMAP>(loaded));
  return ReadPictureMetrics(loaded, previousKind);
}

bool GdiFacePlatform::onScreen() {
  HWND w = live();
  return w && ::IsWindowVisible(w);
}

int GdiFacePlatform::dpi() { return orv::win::Dpi::ForWindow(live()).value(); }

void GdiFacePlatform::setOuterWidth(int width) {
  HWND w = live();
  if (!w) return;
  RECT outer{}, client{};
  ::GetWindowRect(w, &outer);
  ::GetClientRect(w, &client);
  const int frame = (outer.right - outer.left) - client.right;
  ::SetWindowPos(w, nullptr, 0, 0, width + frame, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GdiFacePlatform::applyShape(const ShapeGeometry& geometry) {
  surface_.SetClipEllipse(geometry.clipEllipse);
  if (HWND w = live()) ApplyWindowRegion(w, geometry.window);
}

void GdiFacePlatform::resizeSurface(int width, int height, const CaptionFont& font) {
  HWND w = live();
  if (!w) return;
  surface_.DiscardBitmap();
  orv::win::WindowDc dc(w);
  surface_.Prepare(dc.get(), width, height, font);
}

void GdiFacePlatform::showSurface(int width, int height) {
  HWND w = live();
  if (!w) return;
  orv::win::WindowDc dc(w);
  surface_.Show(dc.get(), width, height);
}

void GdiFacePlatform::releaseSurface() {
  surface_.Destroy();
  icon_.reset();
  bitmap_.reset();
}

}  // namespace orv::buttons::win
