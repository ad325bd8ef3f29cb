#include "buttons/button_face.h"

#include "buttons/caption_layout.h"
#include "buttons/kw_button.h"

namespace orv::buttons {

CaptionFont CaptionFontOf(const FontDesc& font) {
  CaptionFont f;
  f.name = font.name;
  f.size = font.size;
  f.weight = font.bold ? 700 : 400;
  f.italic = font.italic;
  f.underline = font.underline;
  f.strikeout = font.strikethrough;
  return f;
}

FaceInputs FaceInputsFrom(const KwButton& b, const KeptFace& kept, int screenWidth, int screenHeight) {
  FaceInputs in;
  in.ButtonShape = b.ButtonShape();
  in.Mode = b.Mode();
  in.Value = b.Value();
  in.Enabled = b.Enabled();
  in.BackColor = b.BackColor();
  in.GradientColor = b.GradientColor();
  in.GradientMode = b.GradientMode();
  in.HoverBackColor = b.HoverBackColor();
  in.ForeColor = b.ForeColor();
  in.HoverForeColor = b.HoverForeColor();
  in.CaptionStyle = b.CaptionStyle();
  in.CaptionAlign = b.CaptionAlign();
  in.Caption = b.Caption();
  in.PictureAlign = b.PictureAlign();
  in.PictureSize = b.PictureSizePixels();
  in.Picture = kept.picture;
  in.ShowFocusRect = b.ShowFocusRect();

  in.nStateFlags = b.nStateFlags();
  in.bMouseHeld = b.bMouseHeld();
  in.bHoverTimer = b.bHoverTimer();

  in.ContainerBackColor = b.ContainerBackColor();
  in.ScaleWidth = RoundHalfEven(b.host().scaleWidth());
  in.ScaleHeight = RoundHalfEven(b.host().scaleHeight());
  in.ScreenWidth = screenWidth;
  in.ScreenHeight = screenHeight;

  in.colors = kept.colors;
  in.LeftSlantX = kept.LeftSlantX;
  in.RightSlantX = kept.shaped ? kept.RightSlantX : in.ScaleWidth;
  in.CaptionRect = kept.CaptionRect;
  in.PictureRect = kept.PictureRect;
  return in;
}

int ButtonFace::scaleWidth() const { return RoundHalfEven(button_.host().scaleWidth()); }
int ButtonFace::scaleHeight() const { return RoundHalfEven(button_.host().scaleHeight()); }

FaceInputs ButtonFace::inputs() const {
  FaceInputs in = FaceInputsFrom(button_, kept_, platform_.screenWidth(), platform_.screenHeight());
  const int stored = in.storedPictureSize();
  if (stored <= 32) in.PictureEdge = (stored * platform_.dpi() + 48) / 96;
  return in;
}

void ButtonFace::RefreshSetting(const std::string& name) {
  if (name == "BackColor") {
    kept_.colors = DeriveFaceColors(button_.BackColor(), button_.HoverBackColor(),
                                    [this](int index) { return platform_.systemColor(index); });
  } else if (name == "Font") {
    platform_.refreshFont(CaptionFontOf(button_.Font()));
  } else if (name == "Picture") {
    kept_.picture = platform_.loadPicture(button_.Picture(), kept_.picture.kind);
    button_.setPictureExtent(kept_.picture.width, kept_.picture.height);
  }
}

void ButtonFace::BuildShapeRegion() {
  const int shape = button_.ButtonShape();
  const double height = button_.host().scaleHeight();
  ShapeGeometry g = buttons::BuildShapeRegion(shape, button_.host().scaleWidth(), height);
  if (g.width != scaleWidth()) {
    // The Resize this causes must not rebuild what is being built here.
    button_.DelayDrawing(true);
    platform_.setOuterWidth(g.width);
    button_.setDelayDrawingFlag(false);
    g = buttons::BuildShapeRegion(shape, button_.host().scaleWidth(), height);
  }
  kept_.LeftSlantX = g.LeftSlantX;
  kept_.RightSlantX = g.RightSlantX;
  kept_.shaped = true;
  platform_.applyShape(g);
}

void ButtonFace::LayoutCaption() {
  const CaptionLayout layout = buttons::LayoutCaption(inputs(), platform_.surface());
  kept_.CaptionRect = layout.CaptionRect;
  kept_.PictureRect = layout.PictureRect;
}

void ButtonFace::ResizeSurface() {
  surfaceWidth_ = scaleWidth();
  surfaceHeight_ = scaleHeight();
  platform_.resizeSurface(surfaceWidth_, surfaceHeight_, CaptionFontOf(button_.Font()));
}

void ButtonFace::paintFace() {
  if (!platform_.onScreen()) return;
  const FaceInputs in = inputs();
  // A slanted button widened outside Resize (its shape setter) would keep a
  // bitmap of the old width and show garbage in the strip it gained.
  if (surfaceWidth_ > 0 && (in.ScaleWidth != surfaceWidth_ || in.ScaleHeight != surfaceHeight_)) ResizeSurface();
  report_ = DrawButtonFace(platform_.surface(), in);
  platform_.showSurface(in.ScaleWidth, in.ScaleHeight);
}

void ButtonFace::ReleaseSurface() {
  platform_.releaseSurface();
  kept_.picture = PictureInfo{0, kept_.picture.kind, 0, 0};
  surfaceWidth_ = surfaceHeight_ = 0;
}

}  // namespace orv::buttons
