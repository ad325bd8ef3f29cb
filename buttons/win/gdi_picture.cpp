#include "buttons/win/gdi_picture.h"

#include <algorithm>
#include <optional>

#include "buttons/color.h"

namespace orv::buttons::win {

using orv::win::ScopedSelect;

namespace {

// A memory DC with one bitmap selected, restored before either is deleted.
struct MemoryImage {
  CountedDc dc;
  CountedBitmap bitmap;
  std::optional<ScopedSelect> selected;

  bool Make(HDC like, HBITMAP made) {
    dc.reset(::CreateCompatibleDC(like));
    bitmap.reset(made);
    if (!dc || !bitmap) return false;
    selected.emplace(dc.get(), bitmap.get());
    return true;
  }
  ~MemoryImage() { selected.reset(); }
};

}  // namespace

void DrawTransparentBitmap(HDC target, const Rect& destRect, HBITMAP bitmap, int width, int height) {
  if (width <= 0 || height <= 0) return;
  CountedDc source(::CreateCompatibleDC(target));
  if (!source) return;
  ScopedSelect sourceBitmap(source.get(), bitmap);

  const Rgb32 transparent = TranslateColor(::GetPixel(source.get(), 0, 0), [](int i) { return ::GetSysColor(i); });

  int outW = width;
  int outH = height;
  const int destW = destRect.width();
  const int destH = destRect.height();
  if (destW < width || destH < height) {
    double ratio = std::min(static_cast<double>(destW) / width, static_cast<double>(destH) / height);
    outW = RoundHalfEven(width * ratio);
    outH = RoundHalfEven(height * ratio);
  }
  if (outW <= 0 || outH <= 0) return;

  // 1 where the picture is transparent.
  MemoryImage mask;
  if (!mask.Make(target, ::CreateBitmap(width, height, 1, 1, nullptr))) return;
  ::SetBkColor(source.get(), transparent);
  ::BitBlt(mask.dc.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);

  // The picture with its transparent pixels black (destination AND NOT mask).
  MemoryImage blacked;
  if (!blacked.Make(target, ::CreateCompatibleBitmap(target, width, height))) return;
  ::BitBlt(blacked.dc.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
  ::SetBkColor(blacked.dc.get(), 0xFFFFFF);
  ::SetTextColor(blacked.dc.get(), 0x000000);
  ::BitBlt(blacked.dc.get(), 0, 0, width, height, mask.dc.get(), 0, 0, 0x220326);

  // Background with a black hole where the picture is opaque, then the
  // picture ORed into the hole; one copy back to the target.
  MemoryImage work;
  if (!work.Make(target, ::CreateCompatibleBitmap(target, outW, outH))) return;
  ::SetMapMode(work.dc.get(), ::GetMapMode(target));
  ::SetBkColor(work.dc.get(), 0xFFFFFF);
  ::SetTextColor(work.dc.get(), 0x000000);
  ::BitBlt(work.dc.get(), 0, 0, outW, outH, target, destRect.left, destRect.top, SRCCOPY);
  ::SetStretchBltMode(work.dc.get(), COLORONCOLOR);
  ::StretchBlt(work.dc.get(), 0, 0, outW, outH, mask.dc.get(), 0, 0, width, height, SRCAND);
  ::StretchBlt(work.dc.get(), 0, 0, outW, outH, blacked.dc.get(), 0, 0, width, height, SRCPAINT);
  ::BitBlt(target, destRect.left, destRect.top, outW, outH, work.dc.get(), 0, 0, SRCCOPY);
}

bool PaintPicture(HDC surface, const PictureDraw& d) {
  const bool icon = d.picture.kind == 1;
  const int w = d.drawWidth;
  const int h = d.drawHeight;
  if (w <= 0 || h <= 0 || d.picture.handle == 0) return false;

  HANDLE copy = ::CopyImage(reinterpret_cast<HANDLE>(d.picture.handle), icon ? IMAGE_ICON : IMAGE_BITMAP, w, h, 0);
  if (!copy) return false;
  CountedIcon iconCopy;
  CountedBitmap bitmapCopy;
  if (icon) iconCopy.reset(static_cast<HICON>(copy));
  else bitmapCopy.reset(static_cast<HBITMAP>(copy));

  HDC target = surface;
  Rect rect = d.rect;
  // Disabled: the picture goes into a white one-bit image first; every
  // non-white pixel of it becomes ink for the two stamps below.
  MemoryImage scratch;
  if (d.greyed) {
    if (!scratch.Make(surface, ::CreateBitmap(w + 1, h + 1, 1, 1, nullptr))) return true;
    ::PatBlt(scratch.dc.get(), 0, 0, w + 1, h + 1, WHITENESS);
    target = scratch.dc.get();
    rect = rect.offset(-rect.left, -rect.top);
  }

  if (icon) {
    ::DrawIconEx(target, rect.left, rect.top, iconCopy.get(), 0, 0, 0, nullptr, DI_NORMAL);
  } else {
    DrawTransparentBitmap(target, rect, bitmapCopy.get(), w, h);
  }

  if (d.greyed) {
    // One-bit source onto colour: 1 takes the background colour (white, so
    // the surface is kept), 0 the text colour (black, so the brush paints).
    COLORREF oldBk = ::SetBkColor(surface, 0xFFFFFF);
    COLORREF oldText = ::SetTextColor(surface, 0x000000);
    {
      CountedBrush light(::CreateSolidBrush(d.lightBrush));
      ScopedSelect select(surface, light.get());
      ::BitBlt(surface, d.lightAt.x, d.lightAt.y, w + 1, h + 1, scratch.dc.get(), 0, 0, d.greyRop);
    }
    {
      CountedBrush dark(::CreateSolidBrush(d.darkBrush));
      ScopedSelect select(surface, dark.get());
      ::BitBlt(surface, d.darkAt.x, d.darkAt.y, w + 1, h + 1, scratch.dc.get(), 0, 0, d.greyRop);
    }
    ::SetTextColor(surface, oldText);
    ::SetBkColor(surface, oldBk);
  }
  return true;
}

PictureInfo ReadPictureMetrics(HANDLE picture, int previousKind) {
  PictureInfo info;
  info.handle = reinterpret_cast<std::uintptr_t>(picture);
  info.kind = previousKind;
  if (!picture) return info;
  BITMAP bm{};
  if (::GetObjectW(picture, sizeof bm, &bm) == sizeof bm) {
    info.width = bm.bmWidth;
    info.height = bm.bmHeight;
    if (bm.bmBits) {
      info.kind = 0;
      return info;
    }
  }
  ICONINFO ii{};
  if (::GetIconInfo(static_cast<HICON>(picture), &ii)) {
    // The query made both bitmaps; they are ours to delete either way.
    CountedBitmap color(ii.hbmColor);
    CountedBitmap mask(ii.hbmMask);
    if (color) {
      BITMAP cb{};
      if (::GetObjectW(color.get(), sizeof cb, &cb)) {
        info.width = cb.bmWidth;
        info.height = cb.bmHeight;
      }
      info.kind = 1;
    }
  }
  return info;
}

}  // namespace orv::buttons::win
