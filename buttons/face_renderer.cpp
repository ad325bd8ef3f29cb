#include "buttons/face_renderer.h"

#include <algorithm>

#include "buttons/shape_region.h"

namespace orv::buttons {

namespace {

SystemColorLookup LookupOf(const DrawSurface& s) {
  return [&s](int index) { return s.SystemColor(index); };
}

bool HasFlag(const FaceInputs& in, int flag) { return (in.nStateFlags & flag) != 0; }

void RowShading(DrawSurface& s, const FaceInputs& in, Rgb32 chosen) {
  const int W = in.ScaleWidth;
  const int H = in.ScaleHeight;
  if (H <= 0) return;
  // The quotient is single precision; the product is not.
  const float perRow = 25.0f / static_cast<float>(H);
  const int rows = RoundHalfEven(static_cast<double>(H) - 1.0);
  for (int i = 1; i <= rows; ++i) {
    int amount = RoundHalfEven(-static_cast<double>(perRow) * i);
    s.FillBox({1, i, W - 1, i + 1}, ShadeColor(chosen, amount, true));
  }
}

}  // namespace

GradientBands GradientBandsFor(int size, int screen) {
  GradientBands b;
  if (size <= 0) return b;
  if (screen / size < 4) {
    b.band = 2;
    b.count = size / 2;
  } else {
    b.band = 1;
    b.count = size;
  }
  return b;
}

void FillGradient(DrawSurface& s, const FaceInputs& in, int mode, Rgb32 first, Rgb32 second) {
  if (mode < GradientLeftToRight || mode > GradientBottomToTop) return;
  const bool across = mode == GradientLeftToRight || mode == GradientRightToLeft;
  const int size = across ? in.ScaleWidth : in.ScaleHeight;
  const int screen = across ? in.ScreenWidth : in.ScreenHeight;
  const GradientBands bands = GradientBandsFor(size, screen);
  const std::vector<Rgb32> colors = BuildGradientColors(bands.count, first, second);
  Rect band = across ? Rect{0, 0, bands.band, in.ScaleHeight} : Rect{0, 0, in.ScaleWidth, bands.band};
  const bool forward = mode == GradientLeftToRight || mode == GradientTopToBottom;
  for (int k = 0; k < bands.count; ++k) {
    s.FillBox(band, colors[static_cast<std::size_t>(forward ? k : bands.count - 1 - k)]);
    band = across ? band.offset(bands.band, 0) : band.offset(0, bands.band);
  }
}

int FillFace(DrawSurface& s, const FaceInputs& in, Rgb32 fill, Rgb32 second, std::int32_t hover) {
  const bool pressedOver = in.pressedOver();
  const int visual = pressedOver ? VisualPressed : HasFlag(in, StateDefaultLook) ? VisualDefault : VisualNormal;
  const Rgb32 hoverColor = hover < 0 ? fill : static_cast<Rgb32>(hover);
  const bool useHover = in.bHoverTimer && (in.Mode == 0 ? !pressedOver : !in.Value);
  const Rgb32 chosen = useHover ? hoverColor : fill;
  const int W = in.ScaleWidth;
  const int H = in.ScaleHeight;

  if (IsEllipseShape(in.ButtonShape)) {
    s.RemoveClip();
    if (in.ButtonShape == ShapeOvalOutline) {
      s.SelectPen(0x000000, 2);
      s.EllipseOutline({0, 0, W, H});
    } else if (!(pressedOver && in.ButtonShape == ShapeOvalFixedRim)) {
      // Light at the top, dark at the bottom; turned over while pressed.
      FillGradient(s, in, pressedOver ? GradientBottomToTop : GradientTopToBottom,
                   ShadeColor(in.ContainerBackColor, 172, false), ShadeColor(in.ContainerBackColor, -32, false));
    }
    s.RestoreClip();
  }

  if (!in.Value && in.GradientMode != GradientNone) {
    if (in.bHoverTimer && !pressedOver && in.GradientColor != in.HoverBackColor) {
      s.FillBox({0, 0, W, H}, chosen);
    } else {
      FillGradient(s, in, in.GradientMode, fill, second);
    }
  } else if (in.Enabled || in.Mode > 0) {
    RowShading(s, in, chosen);
  } else {
    s.FillBox({0, 0, W, H}, chosen);
  }
  return visual;
}

EdgeColorTable EdgeColorsFor(int visual, Rgb32 face) {
  auto f = [face](int n) { return static_cast<std::int32_t>(ShadeColor(face, n, true)); };
  EdgeColorTable c{};
  c[0] = -1;
  switch (visual) {
    case VisualDefault:
      c[1] = 0xF0D1B5; c[2] = 0xF7D7BD; c[3] = 0xF0D1B5; c[4] = 0xE7AE8C;
      c[5] = 0xE7AE8C; c[6] = 0xFFDFBF; c[7] = 0xE7AE8C; c[8] = 0xEF826B;
      break;
    case VisualPressed:
      c[1] = f(-22); c[2] = f(-24); c[3] = static_cast<std::int32_t>(face); c[4] = f(10);
      c[5] = f(-32); c[6] = f(-32); c[7] = f(5); c[8] = f(16);
      break;
    case VisualHot:
      c[1] = 0x6BCBFF; c[2] = 0x8CDBFF; c[3] = 0x6BCBFF; c[4] = 0x31B2FF;
      c[5] = 0x31B2FF; c[6] = 0xA6E9FF; c[7] = 0x31B2FF; c[8] = 0x0096E7;
      break;
    default:
      c[1] = f(-10); c[2] = f(10); c[3] = f(-24); c[4] = f(-32);
      c[5] = f(-5); c[6] = f(16); c[7] = f(-36); c[8] = f(-48);
      break;
  }
  for (int i = 9; i <= 12; ++i) c[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(kFrameColor);
  return c;
}

EdgePointTable EdgePointsFor(const FaceInputs& in) {
  const int W = in.ScaleWidth;
  const int H = in.ScaleHeight;
  const int L = in.LeftSlantX;
  const int R = in.RightSlantX;
  const int sL = (in.ButtonShape == ShapeLeftSlant || in.ButtonShape == ShapeParallelogram) ? 1 : 0;
  const int sR = (in.ButtonShape == ShapeRightSlant || in.ButtonShape == ShapeParallelogram) ? 1 : 0;
  EdgePointTable p{};
  p[0] = {L + 2 - 4 * sL, H - 3};
  p[1] = {2 * sL + 2, 2};
  p[2] = {R + 3 * sR - 3, 2};
  p[3] = {W - 3 - 3 * sR, H - 3};
  p[4] = {L + 1 - 4 * sL, H - 3};
  p[5] = {p[0].x + sL - 1, p[0].y + 1};
  p[6] = {p[1].x - sL - 1, p[1].y - 1};
  p[7] = {p[2].x + 1 - sR, p[2].y - 1};
  p[8] = {p[3].x + sR + 1, p[3].y + 1};
  p[9] = {p[4].x - 1, p[4].y + 1};
  p[10] = {L - sL, H - 1 + sL};
  p[11] = {0, 0};
  p[12] = {R + sR - 1, 0};
  p[13] = {W - 1, H - 1 + sR};
  p[14] = {L - 2 * sL - 1, H - 1};
  p[15] = {W - 1, H - 1};
  return p;
}

void DrawEdges(DrawSurface& s, const EdgePointTable& p, const EdgeColorTable& colors) {
  bool havePen = false;
  std::int32_t last = -1;
  for (int k = 0; k <= 13; ++k) {
    if (k == 4 || k == 9) continue;  // jumps between the rings
    int index = k < 4 ? k + 1 : k < 9 ? k : k - 1;
    std::int32_t color = colors[static_cast<std::size_t>(index)];
    if (color < 0) continue;
    // Always a pen for the first segment drawn: the surface's current pen is
    // whatever the fill left there.
    if (!havePen || color != last) {
      s.SelectPen(static_cast<Rgb32>(color), 1);
      last = color;
      havePen = true;
    }
    s.Line(p[static_cast<std::size_t>(k)], p[static_cast<std::size_t>(k + 1)]);
  }
  // Straightens the bottom of the frame under a slanted right edge.
  s.Line(p[14], p[15]);
}

void DrawDefaultRing(DrawSurface& s, const FaceInputs& in, Rgb32 color) {
  if (!HasFlag(in, StateDefaultLook)) return;
  const int c = in.ButtonShape == ShapeOvalOutline ? 1 : 0;
  s.RemoveClip();
  s.SelectPen(color, 1);
  s.EllipseOutline({3 - c, 3 - c, in.ScaleWidth - 3 + c, in.ScaleHeight - 3 + c});
  s.RestoreClip();
}

bool PlanPicture(const FaceInputs& in, const Rect& rect, const CaptionBand& band, PictureDraw& out) {
  if (!in.Picture.present()) return false;
  const int shift = rect.left != in.PictureRect.left ? 1 : 0;
  const int P = in.storedPictureSize();
  const int W = in.ScaleWidth;
  const int edge = in.squareEdge();
  const int H = in.ScaleHeight;
  PictureDraw d;
  d.picture = in.Picture;
  if (P == 40) {
    d.rect = {shift, shift, W, H};
    d.drawWidth = shift + W;
    d.drawHeight = shift + H;
  } else if (P == 48) {
    const int pw = in.Picture.width;
    const int ph = in.Picture.height;
    if (pw <= 0 || ph <= 0) return false;
    double ratio = std::min(static_cast<double>(band.width - 12) / pw, static_cast<double>(H - 12) / ph);
    d.drawWidth = RoundHalfEven(ratio * pw);
    d.drawHeight = RoundHalfEven(ratio * ph);
    int left = (band.width - d.drawWidth) / 2 + band.leftLimit + shift;
    int top = (H - d.drawHeight) / 2 + shift;
    d.rect = {left, top, left + d.drawWidth, top + d.drawHeight};
  } else {
    d.rect = rect;
    d.drawWidth = edge;
    d.drawHeight = edge;
  }
  // A scaled copy of no size cannot be made.
  if (d.drawWidth <= 0 || d.drawHeight <= 0) return false;
  if (!in.Enabled) {
    d.greyed = true;
    d.lightBrush = ShadeColor(0xC0C0C0, 36, false);   // RGB 228, 229, 229
    d.darkBrush = ShadeColor(0xC0C0C0, -36, false);   // RGB 156, 157, 157
    d.lightAt = {d.rect.left - 1, d.rect.top - 1};
    d.darkAt = {d.rect.left, d.rect.top};
  }
  out = d;
  return true;
}

void DrawCaptionAndPicture(DrawSurface& s, const FaceInputs& in, Rgb32 fill, std::int32_t disabledText, bool checked,
                           bool& plainDisabled, bool* pictureSkipped) {
  const CaptionBand band = UsableBand(in.ButtonShape, in.ScaleWidth, in.LeftSlantX, in.RightSlantX);
  Rect caption = in.CaptionRect;
  Rect picture = in.PictureRect;
  if (checked || in.pressedOver()) {
    const int dx = IsEllipseShape(in.ButtonShape) ? 0 : 1;
    caption = caption.offset(dx, 1);
    picture = picture.offset(dx, 1);
  }

  PictureDraw draw;
  if (PlanPicture(in, picture, band, draw)) {
    if (!s.DrawPicture(draw) && pictureSkipped) *pictureSkipped = true;
  }

  if (in.Caption.empty()) return;
  const std::string text = CaptionLines(in.Caption);
  const unsigned format = CaptionAlignFormat(in.CaptionAlign) | kTextWordBreak;
  const SystemColorLookup lookup = LookupOf(s);

  if (in.Enabled) {
    const Rgb32 textColor = (in.bHoverTimer && !in.pressedOver()) ? TranslateColor(in.HoverForeColor, lookup)
                                                                   : TranslateColor(in.ForeColor, lookup);
    if (in.CaptionStyle != CaptionFlat) {
      const int a = in.CaptionStyle == CaptionEmbossed ? -40 : 40;
      caption = caption.offset(-1, 0);
      s.SetTextColor(ShadeColor(fill, a, false));
      s.DrawText(text, caption, format);
      caption = caption.offset(2, 2);
      s.SetTextColor(ShadeColor(fill, -a, false));
      s.DrawText(text, caption, format);
      caption = caption.offset(-1, -1);
    }
    s.SetTextColor(textColor);
    s.DrawText(text, caption, format);
    return;
  }

  if (disabledText >= 0 && in.GradientMode == GradientNone) {
    s.SetTextColor(static_cast<Rgb32>(disabledText));
    s.DrawText(text, caption, format);
  } else {
    s.SetTextColor(0xFFFFFF);
    s.DrawText(text, caption.offset(1, 1), format);
    plainDisabled = false;
    s.SetTextColor(0x808080);
    s.DrawText(text, caption, format);
  }
}

FaceReport DrawButtonFace(DrawSurface& s, const FaceInputs& in) {
  FaceReport report;
  const bool pressedOver = in.pressedOver();
  const bool disabled = !in.Enabled;
  const FaceColors& colors = in.colors;

  Rgb32 face;
  Rgb32 fill;
  if (in.Mode > 0) {
    face = in.Value ? colors.CheckedFaceColor : colors.FaceColor;
    fill = face;
  } else {
    face = colors.FaceColor;
    if (pressedOver && in.GradientMode == GradientNone) {
      fill = colors.PressedFaceColor;
    } else if (disabled) {
      fill = ShadeColor(face, -24, true);
    } else {
      fill = face;
    }
  }
  const std::int32_t disabledText = disabled ? static_cast<std::int32_t>(ShadeColor(fill, -104, true)) : -1;
  const Rgb32 second = in.GradientMode != GradientNone
                           ? ShadeColor(TranslateColor(in.GradientColor, LookupOf(s)), 48, true)
                           : fill;

  int visual = FillFace(s, in, fill, second, static_cast<std::int32_t>(colors.HoverFaceColor));

  EdgeColorTable edges{};
  edges.fill(-1);
  if (IsEllipseShape(in.ButtonShape)) {
    if (HasFlag(in, StateDefaultLook) && !in.bHoverTimer) {
      DrawDefaultRing(s, in, kDefaultRingColor);
    } else if (in.bHoverTimer) {
      DrawDefaultRing(s, in, kHotRingColor);
    }
  } else {
    Rgb32 frame;
    if (!disabled) {
      if ((in.bMouseHeld && in.Mode > 0) || in.Value) {
        visual = HasFlag(in, StateDefaultLook) ? VisualDefault : VisualPressed;
      }
      if (HasFlag(in, StateMouseOver) && !HasFlag(in, StatePressed)) {
        visual = VisualHot;
      } else if (visual == VisualDefault && !in.ShowFocusRect) {
        visual = VisualNormal;
      }
      edges = EdgeColorsFor(visual, face);
      frame = kFrameColor;
    } else {
      frame = ShadeColor(face, -84, true);
      for (int i = 9; i <= 12; ++i) edges[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(frame);
    }
    DrawEdges(s, EdgePointsFor(in), edges);
    // Rounds off the corners the window region cuts, on upright sides only.
    const int W = in.ScaleWidth;
    const int H = in.ScaleHeight;
    if (in.LeftSlantX == 0) {
      s.SetPixel({1, H - 2}, frame);
      s.SetPixel({1, 1}, frame);
    }
    if (W == in.RightSlantX) {
      s.SetPixel({W - 2, H - 2}, frame);
      s.SetPixel({W - 2, 1}, frame);
    }
  }

  bool plainDisabled = true;
  DrawCaptionAndPicture(s, in, fill, disabledText, in.Value, plainDisabled, &report.pictureSkipped);

  report.VisualState = visual;
  report.faceColor = face;
  report.fillColor = fill;
  report.disabledText = disabledText;
  report.EdgeColors = edges;
  report.plainDisabled = plainDisabled;
  return report;
}

}  // namespace orv::buttons
