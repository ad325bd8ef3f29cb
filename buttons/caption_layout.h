#pragma once
// Where the caption and the picture go on a face: the usable band between
// the slants, and the full layout that measures the caption.
#include <string>

#include "buttons/draw_surface.h"
#include "buttons/face_inputs.h"

namespace orv::buttons {

// The horizontal band left to text and picture; slanted sides give up two
// thirds of their slant to it.
struct CaptionBand {
  int width = 0;
  int leftLimit = 0;
  int rightLimit = 0;
};

CaptionBand UsableBand(int buttonShape, int scaleWidth, int leftSlantX, int rightSlantX);

struct CaptionLayout {
  CaptionBand band;
  Rect CaptionRect;  // unpressed position, clamped
  Rect PictureRect;  // unpressed position, clamped
};

// Full layout: measures the caption (word breaking, "||" as line break)
// with the measurer's font and places caption and picture. Reads Caption,
// CaptionAlign, CaptionStyle, Picture, PictureAlign, PictureSize,
// ButtonShape, ScaleWidth, ScaleHeight, LeftSlantX and RightSlantX.
CaptionLayout LayoutCaption(const FaceInputs& in, TextMeasurer& measurer);

// Every "||" becomes CR LF.
std::string CaptionLines(const std::string& caption);

// DrawText alignment bits for a CaptionAlign value.
unsigned CaptionAlignFormat(int captionAlign);

}  // namespace orv::buttons
