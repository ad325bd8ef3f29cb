#pragma once
// Composes a button face (rendered style 2) onto a DrawSurface: fill, edge
// rings or ellipse rim, corner pixels, then picture and caption.
#include <array>
#include <cstdint>
#include <vector>

#include "buttons/caption_layout.h"
#include "buttons/draw_surface.h"
#include "buttons/face_inputs.h"

namespace orv::buttons {

enum VisualStateValue : int { VisualNormal = 0, VisualDefault = 1, VisualPressed = 2, VisualHot = 3 };

constexpr Rgb32 kFrameColor = 0x733C00;          // RGB 0, 60, 115
constexpr Rgb32 kDefaultRingColor = 0xEF826B;    // RGB 107, 130, 239
constexpr Rgb32 kHotRingColor = 0x0096E7;        // RGB 231, 150, 0

// Indexes 1..12 as the edge table numbers them (0 unused); -1 = not drawn.
using EdgeColorTable = std::array<std::int32_t, 13>;
using EdgePointTable = std::array<Point, 16>;

// What one paint decided; handy for callers that log and for tests.
struct FaceReport {
  int VisualState = VisualNormal;
  Rgb32 faceColor = 0;
  Rgb32 fillColor = 0;
  std::int32_t disabledText = -1;
  EdgeColorTable EdgeColors{};
  bool plainDisabled = true;  // cleared by the two-pass disabled caption
  bool pictureSkipped = false;
};

// The whole face, last step caption and picture.
FaceReport DrawButtonFace(DrawSurface& surface, const FaceInputs& in);

// Pieces, exposed for the tests and the gallery.
int FillFace(DrawSurface& surface, const FaceInputs& in, Rgb32 fill, Rgb32 second, std::int32_t hover);
void FillGradient(DrawSurface& surface, const FaceInputs& in, int gradientMode, Rgb32 first, Rgb32 second);
// Number and width of the bands FillGradient paints for a size on a screen.
struct GradientBands {
  int count = 0;
  int band = 1;
};
GradientBands GradientBandsFor(int size, int screen);
EdgeColorTable EdgeColorsFor(int visualState, Rgb32 faceColor);
EdgePointTable EdgePointsFor(const FaceInputs& in);
void DrawEdges(DrawSurface& surface, const EdgePointTable& points, const EdgeColorTable& colors);
void DrawDefaultRing(DrawSurface& surface, const FaceInputs& in, Rgb32 color);
// Returns plainDisabled as it leaves it; false also reports a skipped picture
// through `pictureSkipped` when given.
void DrawCaptionAndPicture(DrawSurface& surface, const FaceInputs& in, Rgb32 fill, std::int32_t disabledText,
                           bool checked, bool& plainDisabled, bool* pictureSkipped = nullptr);

// The picture paint DrawCaptionAndPicture would ask for at `rect` (a copy of
// PictureRect, possibly moved by the pressed offset); nothing without picture.
bool PlanPicture(const FaceInputs& in, const Rect& rect, const CaptionBand& band, PictureDraw& out);

}  // namespace orv::buttons
