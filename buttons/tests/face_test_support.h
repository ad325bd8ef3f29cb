#pragma once
// Builds the inputs of a face as the button model would: shape geometry,
// derived colours and a full caption layout.
#include "buttons/caption_layout.h"
#include "buttons/face_inputs.h"
#include "buttons/shape_region.h"
#include "tests/support/recording_surface.h"

namespace orv::test {

inline buttons::FaceInputs MakeFace(int shape, int width, int height, const std::string& caption = "") {
  buttons::FaceInputs in;
  in.ButtonShape = shape;
  buttons::ApplyShapeGeometry(in, buttons::BuildShapeRegion(shape, width, height));
  in.Caption = caption;
  in.ContainerBackColor = 0xC8D0D4;
  return in;
}

// RefreshSetting("BackColor") and a full layout, after the test has set
// the properties it cares about.
inline void Refresh(buttons::FaceInputs& in) {
  in.colors = buttons::DeriveFaceColors(in.BackColor, in.HoverBackColor, buttons::ClassicSystemColor);
  RecordingSurface measurer;
  buttons::CaptionLayout layout = buttons::LayoutCaption(in, measurer);
  ApplyCaptionLayout(in, layout);
}

}  // namespace orv::test
