#include "buttons/win/gdi_surface.h"

#include <algorithm>

#include "buttons/win/gdi_picture.h"
#include "buttons/win/gdi_region.h"
#include "platform/win/text.h"

namespace orv::buttons::win {

LOGFONTW CaptionLogFont(const CaptionFont& font, HDC dc) {
  LOGFONTW lf{};
  std::wstring name = orv::win::Widen(font.name);
  // LOGFONT holds 32 characters with the terminating zero.
  std::size_t n = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
  std::copy_n(name.begin(), n, lf.lfFaceName);
  lf.lfFaceName[n] = L'\0';
  int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  int twipsPerPixel = dpi > 0 ? 1440 / dpi : 15;
  lf.lfHeight = CaptionFontHeight(font.size, twipsPerPixel);
  lf.lfWeight = font.weight;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  lf.lfUnderline = font.underline ? TRUE : FALSE;
  lf.lfStrikeOut = font.strikeout ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  return lf;
}

DrawingSurface::~DrawingSurface() { Destroy(); }

void DrawingSurface::Prepare(HDC controlDc, int width, int height, const CaptionFont& font) {
  if (!dc_) {
    dc_.reset(::CreateCompatibleDC(controlDc));
    if (!dc_) return;
    ::SetBkMode(dc_.get(), TRANSPARENT);
    brush_.reset(::CreateSolidBrush(0));
    initialBrush_ = ::SelectObject(dc_.get(), brush_.get());
    brushColor_ = 0;
    pen_.reset(::CreatePen(PS_SOLID, 1, 0));
    initialPen_ = ::SelectObject(dc_.get(), pen_.get());
    penColor_ = 0;
    penWidth_ = 1;
    RefreshFont(font);
    if (clip_) ::SelectClipRgn(dc_.get(), clip_.get());
  }
  if (!bitmap_ && width > 0 && height > 0) {
    bitmap_.reset(::CreateCompatibleBitmap(controlDc, width, height));
    if (bitmap_) {
      HGDIOBJ previous = ::SelectObject(dc_.get(), bitmap_.get());
      if (!initialBitmap_) initialBitmap_ = previous;
    }
  }
}

void DrawingSurface::DiscardBitmap() {
  if (!bitmap_) return;
  if (dc_ && initialBitmap_) ::SelectObject(dc_.get(), initialBitmap_);
  bitmap_.reset();
}

void DrawingSurface::RefreshFont(const CaptionFont& font) {
  if (!dc_) return;
  LOGFONTW lf = CaptionLogFont(font, dc_.get());
  CountedFont created(::CreateFontIndirectW(&lf));
  if (!created) return;
  HGDIOBJ previous = ::SelectObject(dc_.get(), created.get());
  if (!initialFont_) initialFont_ = previous;
  font_ = std::move(created);  // deletes the font it replaces, now deselected
}

void DrawingSurface::SetClipEllipse(const std::optional<Rect>& ellipse) {
  if (dc_) ::SelectClipRgn(dc_.get(), nullptr);
  clip_.reset();
  if (!ellipse) return;
  clip_ = MakeEllipseRegion(*ellipse);
  if (dc_ && clip_) ::SelectClipRgn(dc_.get(), clip_.get());
}

void DrawingSurface::Show(HDC target, int width, int height) const {
  if (!dc_ || !bitmap_) return;
  ::BitBlt(target, 0, 0, width, height, dc_.get(), 0, 0, SRCCOPY);
}

void DrawingSurface::ReleaseTools() {
  if (!dc_) return;
  if (initialBrush_) ::SelectObject(dc_.get(), initialBrush_);
  if (initialPen_) ::SelectObject(dc_.get(), initialPen_);
  brush_.reset();
  pen_.reset();
}

void DrawingSurface::Destroy() {
  clip_.reset();  // SelectClipRgn copies: the region is not in use
  if (dc_) {
    ::SelectClipRgn(dc_.get(), nullptr);
    ReleaseTools();
    if (initialFont_) ::SelectObject(dc_.get(), initialFont_);
    font_.reset();
    if (initialBitmap_) ::SelectObject(dc_.get(), initialBitmap_);
    bitmap_.reset();
    dc_.reset();
  }
  font_.reset();
  bitmap_.reset();
  initialBrush_ = initialPen_ = initialFont_ = initialBitmap_ = nullptr;
}

Rgb32 PlatformSystemColor(int index) { return ::GetSysColor(index); }

Rgb32 DrawingSurface::SystemColor(int index) const { return ::GetSysColor(index); }

void DrawingSurface::SelectBrush(Rgb32 color) {
  if (!dc_) return;
  // Same colour already in: creating another would paint the same pixels.
  if (brush_ && brushColor_ == color) return;
  CountedBrush created(::CreateSolidBrush(color));
  if (!created) return;
  ::SelectObject(dc_.get(), created.get());
  brush_ = std::move(created);
  brushColor_ = color;
}

void DrawingSurface::SelectPen(Rgb32 color, int width) {
  if (!dc_) return;
  if (pen_ && penColor_ == color && penWidth_ == width) return;
  CountedPen created(::CreatePen(PS_SOLID, width, color));
  if (!created) return;
  ::SelectObject(dc_.get(), created.get());
  pen_ = std::move(created);
  penColor_ = color;
  penWidth_ = width;
}

void DrawingSurface::FillBox(const Rect& box, Rgb32 fill, std::int32_t outline, int outlineWidth) {
  if (!dc_) return;
  if (outline != -1) SelectPen(static_cast<Rgb32>(outline), outlineWidth);
  SelectBrush(fill);
  if (outline == -1) SelectPen(fill, 1);
  ::Rectangle(dc_.get(), box.left, box.top, box.right, box.bottom);
}

void DrawingSurface::Line(Point from, Point to) {
  if (!dc_) return;
  ::MoveToEx(dc_.get(), from.x, from.y, nullptr);
  ::LineTo(dc_.get(), to.x, to.y);
}

void DrawingSurface::SetPixel(Point at, Rgb32 color) {
  if (dc_) ::SetPixelV(dc_.get(), at.x, at.y, color);
}

void DrawingSurface::EllipseOutline(const Rect& box) {
  // An arc whose ends meet is the whole ellipse, and it leaves the inside alone.
  if (dc_) ::Arc(dc_.get(), box.left, box.top, box.right, box.bottom, box.left, box.top, box.left, box.top);
}

void DrawingSurface::RemoveClip() {
  if (dc_) ::SelectClipRgn(dc_.get(), nullptr);
}

void DrawingSurface::RestoreClip() {
  if (dc_ && clip_) ::SelectClipRgn(dc_.get(), clip_.get());
}

void DrawingSurface::SetTextColor(Rgb32 color) {
  if (dc_) ::SetTextColor(dc_.get(), color);
}

void DrawingSurface::DrawText(const std::string& utf8, const Rect& rect, unsigned format) {
  if (!dc_) return;
  std::wstring text = orv::win::Widen(utf8);
  RECT rc{rect.left, rect.top, rect.right, rect.bottom};
  ::DrawTextW(dc_.get(), text.c_str(), static_cast<int>(text.size()), &rc, format);
}

Rect DrawingSurface::MeasureText(const std::string& utf8, const Rect& bounds, unsigned format) {
  if (!dc_) return {bounds.left, bounds.top, bounds.left, bounds.top};
  std::wstring text = orv::win::Widen(utf8);
  RECT rc{bounds.left, bounds.top, bounds.right, bounds.bottom};
  ::DrawTextW(dc_.get(), text.c_str(), static_cast<int>(text.size()), &rc, format | DT_CALCRECT);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

bool DrawingSurface::DrawPicture(const PictureDraw& draw) {
  if (!dc_) return false;
  return PaintPicture(dc_.get(), draw);
}

}  // namespace orv::buttons::win
