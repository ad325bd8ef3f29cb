#pragma once
// Everything a paint of a button face reads, as one plain struct. The button
// model fills it from its properties and state; the renderer never writes it.
#include <cstdint>
#include <string>

#include "buttons/color.h"
#include "buttons/draw_surface.h"
#include "buttons/face_geometry.h"
#include "buttons/kw_enums.h"

namespace orv::buttons {

// The colours RefreshSetting("BackColor") derives (see DeriveFaceColors).
struct FaceColors {
  Rgb32 FaceColor = 0;
  Rgb32 PressedFaceColor = 0;
  Rgb32 HoverFaceColor = 0;
  Rgb32 CheckedFaceColor = 0;
};

FaceColors DeriveFaceColors(OleColor32 BackColor, OleColor32 HoverBackColor, const SystemColorLookup& lookup);

// The caption font as the control's Font describes it (RefreshSetting("Font")).
struct CaptionFont {
  std::string name = "MS Sans Serif";  // UTF-8; the platform keeps at most 31 characters
  double size = 8.25;                  // points
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

// Logical font height: -(size x 20) / twips per pixel, rounded (negative asks
// for the character height). 15 twips a pixel at 96 dots per inch.
int CaptionFontHeight(double points, int twipsPerPixelY);

struct FaceInputs {
  // Properties.
  int ButtonShape = 0;
  int Mode = 0;  // 0 command, 1 check box, 2 option button
  bool Value = false;
  bool Enabled = true;
  OleColor32 BackColor = 0x8000000F;
  OleColor32 GradientColor = 0;
  int GradientMode = GradientNone;
  OleColor32 HoverBackColor = 0x8000000F;
  OleColor32 ForeColor = 0x80000012;
  OleColor32 HoverForeColor = 0x80000012;
  int CaptionStyle = CaptionFlat;
  int CaptionAlign = CaptionCenter;
  std::string Caption;  // UTF-8, "||" breaks the line, "&" marks the access key
  int PictureAlign = PictureLeftEdge;
  int PictureSize = 16;  // as stored: 16, 24, 32, 40 (stretch) or 48 (fit); 0 counts as 16
  int PictureEdge = 0;   // a square picture's edge at the screen's dpi; 0: as stored
  PictureInfo Picture;   // metrics from RefreshSetting("Picture")
  bool ShowFocusRect = true;

  // Interaction state.
  int nStateFlags = 0;
  bool bMouseHeld = false;
  bool bHoverTimer = false;

  // Environment.
  Rgb32 ContainerBackColor = 0xC0C0C0;  // ambient back colour, resolved
  int ScaleWidth = 0;
  int ScaleHeight = 0;
  int ScreenWidth = 1024;  // pixels
  int ScreenHeight = 768;

  // Derived and kept by the model between paints.
  FaceColors colors;     // from RefreshSetting("BackColor")
  int LeftSlantX = 0;    // from BuildShapeRegion
  int RightSlantX = 0;   // from BuildShapeRegion (ScaleWidth for upright right edges)
  Rect CaptionRect;      // from the last full LayoutCaption
  Rect PictureRect;      // from the last full LayoutCaption

  bool pressedOver() const {
    return (nStateFlags & StatePressed) != 0 && (nStateFlags & StateMouseOver) != 0;
  }
  int storedPictureSize() const { return PictureSize == 0 ? 16 : PictureSize; }
  // The edge of a square picture (stored 16, 24 or 32) in device pixels: the
  // stored size is in 96-dpi pixels and grows with the screen's dpi.
  int squareEdge() const {
    const int stored = storedPictureSize();
    return stored <= 32 && PictureEdge > 0 ? PictureEdge : stored;
  }
};

struct ShapeGeometry;
struct CaptionLayout;
// Copies what BuildShapeRegion decided (size after widening, slant
// coordinates) and what a full LayoutCaption placed into the inputs.
void ApplyShapeGeometry(FaceInputs& in, const ShapeGeometry& geometry);
void ApplyCaptionLayout(FaceInputs& in, const CaptionLayout& layout);

}  // namespace orv::buttons
