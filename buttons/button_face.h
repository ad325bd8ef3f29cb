#pragma once
// The face side of a kwButtons_H button: the ButtonRenderer the model calls,
// over a small platform interface (drawing surface, window region, outer
// width, pictures). It keeps what the face needs between paints (derived
// colours, picture metrics, slant coordinates, caption layout) and fills
// FaceInputs from the model and that state for every paint.
#include <string>

#include "buttons/button_host.h"
#include "buttons/face_inputs.h"
#include "buttons/face_renderer.h"
#include "buttons/shape_region.h"

namespace orv::buttons {

class KwButton;

class FacePlatform {
 public:
  virtual ~FacePlatform() = default;
  // Measuring and painting go here; without a prepared surface both do nothing.
  virtual DrawSurface& surface() = 0;
  virtual Rgb32 systemColor(int index) = 0;
  virtual int screenWidth() = 0;  // pixels
  virtual int screenHeight() = 0;
  // The control's dots per inch; pictures are sized in 96-dpi pixels.
  virtual int dpi() { return 96; }
  // False while the control cannot be seen (it or its window hidden): a face
  // drawn then is thrown away, and the system asks for the whole face again
  // once it shows.
  virtual bool onScreen() { return true; }
  // The caption font into the surface; nothing until the surface exists.
  virtual void refreshFont(const CaptionFont& font) = 0;
  // Loads the picture (dropping the previous one) and reads its metrics;
  // an empty or unusable source gives width and height 0.
  virtual PictureInfo loadPicture(const Picture& source, int previousKind) = 0;
  // Sets the control's outer width to `width` client pixels. The container
  // resizes the control at once, which delivers its Resize event.
  virtual void setOuterWidth(int width) = 0;
  // The window region and the surface's clip ellipse from a rebuilt outline.
  virtual void applyShape(const ShapeGeometry& geometry) = 0;
  // Drops the surface bitmap and prepares the surface at width x height.
  virtual void resizeSurface(int width, int height, const CaptionFont& font) = 0;
  // Copies (0, 0, width, height) of the surface to the control's window.
  virtual void showSurface(int width, int height) = 0;
  // Control destruction: surface, font, clip and picture go.
  virtual void releaseSurface() = 0;
};

// The caption font the control's Font describes.
CaptionFont CaptionFontOf(const FontDesc& font);

// What the face keeps between paints.
struct KeptFace {
  FaceColors colors;
  PictureInfo picture;
  int LeftSlantX = 0;
  int RightSlantX = 0;
  bool shaped = false;  // the slant coordinates hold from the first rebuild on
  Rect CaptionRect;
  Rect PictureRect;
};

// The inputs of one paint of `button` at its current size.
FaceInputs FaceInputsFrom(const KwButton& button, const KeptFace& kept, int screenWidth, int screenHeight);

class ButtonFace : public ButtonRenderer {
 public:
  ButtonFace(KwButton& button, FacePlatform& platform) : button_(button), platform_(platform) {}

  void RefreshSetting(const std::string& name) override;
  void BuildShapeRegion() override;
  void LayoutCaption() override;
  void ResizeSurface() override;
  void paintFace() override;
  void ReleaseSurface() override;

  FaceInputs inputs() const;
  const KeptFace& kept() const { return kept_; }
  const FaceReport& lastReport() const { return report_; }

 private:
  int scaleWidth() const;
  int scaleHeight() const;

  KwButton& button_;
  FacePlatform& platform_;
  KeptFace kept_;
  FaceReport report_;
  // The size the surface bitmap was prepared at; 0 until the first Resize.
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
};

}  // namespace orv::buttons
