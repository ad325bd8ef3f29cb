#pragma once
// What the face renderer draws onto. The Win32 back end is a memory DC with
// its bitmap (buttons/win/gdi_surface.h); tests use a recording fake.
#include <cstdint>
#include <string>

#include "buttons/color.h"
#include "buttons/face_geometry.h"

namespace orv::buttons {

// Text format bits; the values are the platform's own, passed through.
enum TextFormat : unsigned {
  kTextLeft = 0x0,
  kTextCenter = 0x1,
  kTextRight = 0x2,
  kTextWordBreak = 0x10,
  kTextCalcRect = 0x400,
};

// A picture as the control holds it: an opaque platform handle (bitmap or
// icon) and its metrics. Width + height 0 means no picture.
struct PictureInfo {
  std::uintptr_t handle = 0;
  int kind = 0;  // 0 bitmap, 1 icon
  int width = 0;
  int height = 0;
  bool present() const { return width + height != 0; }
};

// One picture paint: a copy of `picture` scaled to drawWidth x drawHeight is
// put at rect's top-left (icons at their natural size, bitmaps through the
// transparent-colour blit into `rect`). When `greyed`, the image is drawn into
// a white one-bit scratch image instead and stamped twice onto the surface
// with raster operation `greyRop`: brush `lightBrush` at `lightAt`, then
// `darkBrush` at `darkAt`.
struct PictureDraw {
  PictureInfo picture;
  Rect rect;
  int drawWidth = 0;
  int drawHeight = 0;
  bool greyed = false;
  Rgb32 lightBrush = 0;
  Rgb32 darkBrush = 0;
  Point lightAt;
  Point darkAt;
  std::uint32_t greyRop = 0xB8074A;
};

// Measuring needs only the selected font, so layout can run without a face.
class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  // Calculate mode: returns the rectangle the text would take when drawn in
  // `bounds` with `format` (word breaking wraps at bounds' width).
  virtual Rect MeasureText(const std::string& utf8, const Rect& bounds, unsigned format) = 0;
};

class DrawSurface : public TextMeasurer {
 public:
  // RGB of a system colour index (OLE colours 0x800000nn).
  virtual Rgb32 SystemColor(int index) const = 0;

  // Solid brush of `fill` and, with outline -1, a 1-pixel pen of the same
  // colour, else a pen of `outline` and `outlineWidth`; then the rectangle
  // primitive (right and bottom exclusive).
  virtual void FillBox(const Rect& box, Rgb32 fill, std::int32_t outline = -1, int outlineWidth = 1) = 0;
  // Selects a solid pen; lines and ellipse outlines use the last one.
  virtual void SelectPen(Rgb32 color, int width) = 0;
  // A line with the current pen; the end point is not painted.
  virtual void Line(Point from, Point to) = 0;
  virtual void SetPixel(Point at, Rgb32 color) = 0;
  // Full ellipse outline in `box` with the current pen; the inside is kept.
  virtual void EllipseOutline(const Rect& box) = 0;

  // The inner clip ellipse of ellipse shapes: taken off for the rim, put
  // back afterwards. No-ops without a clip.
  virtual void RemoveClip() = 0;
  virtual void RestoreClip() = 0;

  virtual void SetTextColor(Rgb32 color) = 0;
  // Transparent background: only the glyphs are painted.
  virtual void DrawText(const std::string& utf8, const Rect& rect, unsigned format) = 0;

  // False when the scaled copy of the picture could not be made.
  virtual bool DrawPicture(const PictureDraw& draw) = 0;
};

}  // namespace orv::buttons
