#pragma once
// The face of a real kwButtons_H window: ButtonFace over GDI (the window's
// own DC, its window region, a DrawingSurface and the loaded picture).
#include <windows.h>

#include <functional>

#include "buttons/button_face.h"
#include "buttons/win/gdi_counter.h"
#include "buttons/win/gdi_surface.h"

namespace orv::buttons::win {

// Loads "res:NAME" (an icon or bitmap resource of the program) or a file
// path, as an icon when it is one, else as a DIB section. nullptr when
// neither works. `isIcon` tells which.
HANDLE LoadButtonPicture(const Picture& source, bool& isIcon);

class GdiFacePlatform final : public FacePlatform {
 public:
  // The window is looked up on each use: the renderer exists before it.
  explicit GdiFacePlatform(std::function<HWND()> window) : window_(std::move(window)) {}

  DrawSurface& surface() override { return surface_; }
  Rgb32 systemColor(int index) override { return PlatformSystemColor(index); }
  int screenWidth() override { return ::GetSystemMetrics(SM_CXSCREEN); }
  int screenHeight() override { return ::GetSystemMetrics(SM_CYSCREEN); }
  int dpi() override;
  bool onScreen() override;
  void refreshFont(const CaptionFont& font) override { surface_.RefreshFont(font); }
  PictureInfo loadPicture(const Picture& source, int previousKind) override;
  void setOuterWidth(int width) override;
  void applyShape(const ShapeGeometry& geometry) override;
  void resizeSurface(int width, int height, const CaptionFont& font) override;
  void showSurface(int width, int height) override;
  void releaseSurface() override;

  const DrawingSurface& drawingSurface() const { return surface_; }

 private:
  HWND live() const;

  std::function<HWND()> window_;
  DrawingSurface surface_;
  CountedIcon icon_;
  CountedBitmap bitmap_;
};

class GdiFaceRenderer final : public ButtonRenderer {
 public:
  GdiFaceRenderer(KwButton& button, std::function<HWND()> window)
      : platform_(std::move(window)), face_(button, platform_) {}

  void RefreshSetting(const std::string& name) override { face_.RefreshSetting(name); }
  void BuildShapeRegion() override { face_.BuildShapeRegion(); }
  void LayoutCaption() override { face_.LayoutCaption(); }
  void ResizeSurface() override { face_.ResizeSurface(); }
  void paintFace() override { face_.paintFace(); }
  void ReleaseSurface() override { face_.ReleaseSurface(); }

  const ButtonFace& face() const { return face_; }
  const GdiFacePlatform& platform() const { return platform_; }

 private:
  GdiFacePlatform platform_;
  ButtonFace face_;
};

}  // namespace orv::buttons::win
