// One full face redraw: drawing operations, GDI objects the Win32 surface
// would create, and the cost on a software raster against a plain copy of
// the same surface (what ShowSurface does per paint).
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "buttons/caption_layout.h"
#include "buttons/face_renderer.h"
#include "buttons/shape_region.h"
#include "tests/support/raster_surface.h"
#include "tests/support/recording_surface.h"

using namespace orv::buttons;
using orv::test::RasterSurface;
using orv::test::RecordingSurface;
using orv::test::SurfaceOp;

namespace {

FaceInputs Face(int w, int h, int gradient) {
  FaceInputs in;
  ApplyShapeGeometry(in, BuildShapeRegion(ShapeRectangle, w, h));
  in.Caption = "Gravar";
  in.Picture = {1, 1, 16, 16};
  in.PictureSize = 16;
  in.GradientMode = gradient;
  in.GradientColor = 0x804000;
  in.ScreenWidth = 1024;
  in.colors = DeriveFaceColors(in.BackColor, in.HoverBackColor, ClassicSystemColor);
  RecordingSurface measurer;
  ApplyCaptionLayout(in, LayoutCaption(in, measurer));
  return in;
}

// Brushes and pens a surface that skips re-creating the colour it already
// holds makes for these operations.
int GdiObjectsMade(const RecordingSurface& s) {
  int made = 0;
  bool haveBrush = false, havePen = false;
  orv::buttons::Rgb32 brush = 0, pen = 0;
  int penWidth = 0;
  for (const auto& op : s.ops) {
    if (op.kind == SurfaceOp::Fill) {
      if (!haveBrush || brush != op.color) { ++made; brush = op.color; haveBrush = true; }
      if (!havePen || pen != op.color || penWidth != 1) { ++made; pen = op.color; penWidth = 1; havePen = true; }
    } else if (op.kind == SurfaceOp::Pen) {
      if (!havePen || pen != op.color || penWidth != op.width) { ++made; pen = op.color; penWidth = op.width; havePen = true; }
    }
  }
  return made;
}

void Report(const char* name, const FaceInputs& in) {
  RecordingSurface rec;
  DrawButtonFace(rec, in);
  std::printf("%s (%dx%d)\n", name, in.ScaleWidth, in.ScaleHeight);
  std::printf("  operations: %zu (fill boxes %d, pens %d, lines %d, pixels %d, texts %d, pictures %d)\n", rec.ops.size(),
              rec.Count(SurfaceOp::Fill), rec.Count(SurfaceOp::Pen), rec.Count(SurfaceOp::Line),
              rec.Count(SurfaceOp::Pixel), rec.Count(SurfaceOp::Text), rec.Count(SurfaceOp::Picture));
  std::printf("  pens and brushes created (same-colour reuse): %d\n", GdiObjectsMade(rec));

  RasterSurface raster(in.ScaleWidth, in.ScaleHeight);
  std::vector<std::uint32_t> screen(raster.pixels().size());
  const int rounds = 2000;
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) DrawButtonFace(raster, in);
  auto t1 = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds * 10; ++i) {
    std::memcpy(screen.data(), raster.pixels().data(), screen.size() * sizeof(std::uint32_t));
    asm volatile("" : : "r"(screen.data()) : "memory");
  }
  auto t2 = std::chrono::steady_clock::now();
  double face = std::chrono::duration<double, std::micro>(t1 - t0).count() / rounds;
  double copy = std::chrono::duration<double, std::micro>(t2 - t1).count() / (rounds * 10);
  std::printf("  software raster: %.2f us a redraw, plain copy %.3f us, ratio %.0f\n", face, copy, face / copy);
}

}  // namespace

int main() {
  Report("row-shaded face", Face(89, 33, GradientNone));
  Report("gradient face", Face(300, 80, GradientLeftToRight));
  return 0;
}
