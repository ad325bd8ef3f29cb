#include "buttons/face_inputs.h"

#include "buttons/caption_layout.h"
#include "buttons/shape_region.h"

namespace orv::buttons {

FaceColors DeriveFaceColors(OleColor32 BackColor, OleColor32 HoverBackColor, const SystemColorLookup& lookup) {
  FaceColors c;
  c.FaceColor = ShadeColor(TranslateColor(BackColor, lookup), 48, true);
  // From the already lightened face, not from BackColor.
  c.PressedFaceColor = ShadeColor(c.FaceColor, -32, true);
  c.HoverFaceColor = ShadeColor(TranslateColor(HoverBackColor, lookup), 48, true);
  c.CheckedFaceColor = ShadeColor(0xFFFFFF, -32, true);
  return c;
}

void ApplyShapeGeometry(FaceInputs& in, const ShapeGeometry& g) {
  in.ScaleWidth = g.width;
  in.ScaleHeight = g.height;
  in.LeftSlantX = g.LeftSlantX;
  in.RightSlantX = g.RightSlantX;
}

void ApplyCaptionLayout(FaceInputs& in, const CaptionLayout& layout) {
  in.CaptionRect = layout.CaptionRect;
  in.PictureRect = layout.PictureRect;
}

int CaptionFontHeight(double points, int twipsPerPixelY) {
  if (twipsPerPixelY <= 0) twipsPerPixelY = 15;
  return RoundHalfEven(-(points * 20.0) / twipsPerPixelY);
}

}  // namespace orv::buttons
