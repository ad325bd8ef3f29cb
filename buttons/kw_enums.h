#pragma once
// The button's enumerations that both the model and the face read. Their
// numeric values are stored in the windows' data and never change.

namespace orv::buttons {

// nStateFlags bits.
enum StateFlag : int {
  StateDefaultLook = 1,
  StatePressed = 2,
  StateMouseOver = 4,
};

enum GradientModeValue : int {
  GradientNone = 0,
  GradientLeftToRight = 1,
  GradientRightToLeft = 2,
  GradientTopToBottom = 3,
  GradientBottomToTop = 4,
};

enum CaptionAlignValue : int { CaptionLeft = 0, CaptionRight = 1, CaptionCenter = 2 };
enum CaptionStyleValue : int { CaptionFlat = 0, CaptionEmbossed = 1, CaptionEngraved = 2 };

enum PictureAlignValue : int {
  PictureLeftEdge = 0,
  PictureLeftOfCaption = 1,
  PictureRightEdge = 2,
  PictureRightOfCaption = 3,
  PictureTopCenter = 4,
  PictureBottomCenter = 5,
};

enum ButtonShapeValue : int {
  ShapeRectangle = 0,
  ShapeLeftSlant = 1,
  ShapeRightSlant = 2,
  ShapeParallelogram = 3,
  ShapeOvalRim = 4,
  ShapeOvalFixedRim = 5,
  ShapeOvalOutline = 6,
};

}  // namespace orv::buttons
