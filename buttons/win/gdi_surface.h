#pragma once
// The button's off-screen DrawingSurface: a memory DC compatible with the
// control's DC, its bitmap, and at most one pen, one brush and one font of
// the button's own making. The face is composed here and copied to the
// screen in one blit.
#include <windows.h>

#include <optional>

#include "buttons/draw_surface.h"
#include "buttons/face_inputs.h"
#include "buttons/win/gdi_counter.h"

namespace orv::buttons::win {

class DrawingSurface final : public DrawSurface {
 public:
  DrawingSurface() = default;
  ~DrawingSurface() override;
  DrawingSurface(const DrawingSurface&) = delete;
  DrawingSurface& operator=(const DrawingSurface&) = delete;

  // PrepareSurface: creates the DC on first need (transparent background,
  // black brush and pen, the caption font), then a width x height bitmap
  // when none exists. Runs from the control's Resize.
  void Prepare(HDC controlDc, int width, int height, const CaptionFont& font);
  // Resize: the initial bitmap goes back in and the old one is deleted.
  void DiscardBitmap();
  // RefreshSetting("Font"); nothing until the DC exists (Prepare sets it).
  void RefreshFont(const CaptionFont& font);
  // ClipRegion of ellipse shapes (none for the others), rebuilt with the
  // window region; selected while the face is painted.
  void SetClipEllipse(const std::optional<Rect>& ellipse);
  // ShowSurface: plain copy of (0, 0, width, height) to the same place.
  void Show(HDC target, int width, int height) const;
  // SelectDrawingTool(False): initial pen and brush back, own ones deleted.
  void ReleaseTools();
  // Control destruction; the destructor does the same.
  void Destroy();

  bool exists() const { return static_cast<bool>(dc_); }
  bool hasBitmap() const { return static_cast<bool>(bitmap_); }
  HDC dc() const { return dc_.get(); }
  HFONT font() const { return font_.get(); }

  // DrawSurface
  Rgb32 SystemColor(int index) const override;
  void FillBox(const Rect& box, Rgb32 fill, std::int32_t outline = -1, int outlineWidth = 1) override;
  void SelectPen(Rgb32 color, int width) override;
  void Line(Point from, Point to) override;
  void SetPixel(Point at, Rgb32 color) override;
  void EllipseOutline(const Rect& box) override;
  void RemoveClip() override;
  void RestoreClip() override;
  void SetTextColor(Rgb32 color) override;
  void DrawText(const std::string& utf8, const Rect& rect, unsigned format) override;
  Rect MeasureText(const std::string& utf8, const Rect& bounds, unsigned format) override;
  bool DrawPicture(const PictureDraw& draw) override;

 private:
  void SelectBrush(Rgb32 color);
  void SelectFontNow();

  // Declared first: destroyed last, after every object it holds is out.
  CountedDc dc_;
  CountedBitmap bitmap_;
  CountedBrush brush_;
  CountedPen pen_;
  CountedFont font_;
  CountedRegion clip_;
  HGDIOBJ initialBrush_ = nullptr;
  HGDIOBJ initialPen_ = nullptr;
  HGDIOBJ initialFont_ = nullptr;
  HGDIOBJ initialBitmap_ = nullptr;
  Rgb32 brushColor_ = 0;
  Rgb32 penColor_ = 0;
  int penWidth_ = 0;
};

// GetSysColor, as a SystemColorLookup for TranslateColor and DeriveFaceColors.
Rgb32 PlatformSystemColor(int index);

// Logical font of the caption: face name cut to 31 characters, height from
// the DC's vertical resolution, default character set.
LOGFONTW CaptionLogFont(const CaptionFont& font, HDC dc);

}  // namespace orv::buttons::win
