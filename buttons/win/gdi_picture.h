#pragma once
// Pictures on the face: scaled copies, icons, bitmaps with the colour of
// their top-left pixel transparent, and the greyed image of a disabled
// button.
#include <windows.h>

#include "buttons/draw_surface.h"
#include "buttons/win/gdi_counter.h"

namespace orv::buttons::win {

// One picture paint onto `surface` (see PictureDraw). False when the
// scaled copy could not be made; nothing is drawn then.
bool PaintPicture(HDC surface, const PictureDraw& draw);

// Draws `bitmap` (width x height) into destRect of `target`, leaving the
// pixels of its top-left colour transparent; shrinks it by the smaller ratio
// when destRect is smaller.
void DrawTransparentBitmap(HDC target, const Rect& destRect, HBITMAP bitmap, int width, int height);

// RefreshSetting("Picture"): width, height and kind of a bitmap or icon
// handle. A DIB section is a bitmap (kind 0); an icon with a colour bitmap
// is kind 1; otherwise the kind stays `previousKind`. 0 x 0 = no picture.
PictureInfo ReadPictureMetrics(HANDLE picture, int previousKind);

}  // namespace orv::buttons::win
