// Renders the button face in every shape x state x caption style x picture
// alignment, each clipped to its window region, onto one sheet and writes it
// as a 24-bit BMP.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "buttons/caption_layout.h"
#include "buttons/face_renderer.h"
#include "buttons/shape_region.h"
#include "buttons/win/dib.h"
#include "buttons/win/gdi_counter.h"
#include "buttons/win/gdi_picture.h"
#include "buttons/win/gdi_region.h"
#include "buttons/win/gdi_surface.h"

using namespace orv::buttons;
using namespace orv::buttons::win;

namespace {

constexpr int kButtonW = 120;
constexpr int kButtonH = 44;
constexpr int kCellW = 132;
constexpr int kCellH = 54;
constexpr int kLabelW = 170;
constexpr int kHeaderH = 40;

struct State {
  const char* name;
  int flags;
  bool held;
  bool hover;
  bool enabled;
  int mode;
  bool value;
};

const State kStates[] = {
    {"normal", 0, false, false, true, 0, false},
    {"default", StateDefaultLook, false, false, true, 0, false},
    {"pressed", StatePressed | StateMouseOver, true, true, true, 0, false},
    {"hot", StateMouseOver, false, true, true, 0, false},
    {"disabled", 0, false, false, false, 0, false},
    {"checked", 0, false, false, true, 1, true},
};
const char* kShapes[] = {"Rectangle", "LeftSlant", "RightSlant", "Parallelogram", "OvalRim", "OvalFixedRim",
                         "OvalOutline"};
const char* kStyles[] = {"flat", "embossed", "engraved"};
const char* kAligns[] = {"LeftEdge", "LeftOfCaption", "RightEdge", "RightOfCaption", "TopCenter", "BottomCenter"};

Rgb32 Sys(int index) { return ::GetSysColor(index); }

// A 16 x 16 icon: a red disc with a dark rim on a transparent square.
CountedIcon MakeIcon(int size) {
  const double c = (size - 1) / 2.0;
  const double r = size / 2.0;
  auto squared = [c](int x, int y) { return (x - c) * (x - c) + (y - c) * (y - c); };
  auto inDisc = [&](int x, int y) { return squared(x, y) <= r * r; };
  CountedBitmap color = MakeDib(size, size, [&](int x, int y) {
    if (!inDisc(x, y)) return Rgb32{0};
    return squared(x, y) >= (r - 2) * (r - 2) ? Rgb32{0x00000060} : Rgb32{0x002030E0};
  });
  CountedBitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));
  {
    CountedDc dc(::CreateCompatibleDC(nullptr));
    orv::win::ScopedSelect sel(dc.get(), mask.get());
    ::PatBlt(dc.get(), 0, 0, size, size, WHITENESS);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (inDisc(x, y)) ::SetPixelV(dc.get(), x, y, 0);
  }
  ICONINFO ii{TRUE, 0, 0, mask.get(), color.get()};
  return CountedIcon(::CreateIconIndirect(&ii));
}

// A 24 x 24 bitmap: magenta (transparent) with a blue diamond.
CountedBitmap MakeBitmap(int size) {
  return MakeDib(size, size, [size](int x, int y) {
    return std::abs(x - size / 2) + std::abs(y - size / 2) < size / 2 ? Rgb32{0x00C04020} : Rgb32{0x00FF00FF};
  });
}

struct Sheet {
  HDC dc;
  Rgb32 background;
};

void Label(HDC dc, int x, int y, int w, int h, const std::string& text, UINT format = DT_LEFT) {
  std::wstring wide(text.begin(), text.end());
  RECT rc{x, y, x + w, y + h};
  ::DrawTextW(dc, wide.c_str(), -1, &rc, format | DT_WORDBREAK);
}

// Paints one button at (x, y) of the sheet, clipped to its window region.
void PaintButton(const Sheet& sheet, int x, int y, FaceInputs in, const CaptionFont& font) {
  ShapeGeometry g = BuildShapeRegion(in.ButtonShape, in.ScaleWidth, in.ScaleHeight);
  ApplyShapeGeometry(in, g);
  in.ContainerBackColor = sheet.background;
  in.colors = DeriveFaceColors(in.BackColor, in.HoverBackColor, Sys);

  DrawingSurface surface;
  surface.Prepare(sheet.dc, in.ScaleWidth, in.ScaleHeight, font);
  surface.SetClipEllipse(g.clipEllipse);
  CaptionLayout layout = LayoutCaption(in, surface);
  ApplyCaptionLayout(in, layout);

  // A first paint at rest, as a button gets before it is pressed: the fixed
  // rim of shape 5 keeps that paint's rim.
  FaceInputs rest = in;
  rest.nStateFlags = 0;
  rest.bMouseHeld = rest.bHoverTimer = false;
  DrawButtonFace(surface, rest);
  DrawButtonFace(surface, in);

  CountedRegion region = MakeRegion(g.window);
  ::OffsetRgn(region.get(), x, y);
  ::SelectClipRgn(sheet.dc, region.get());
  ::BitBlt(sheet.dc, x, y, in.ScaleWidth, in.ScaleHeight, surface.dc(), 0, 0, SRCCOPY);
  ::SelectClipRgn(sheet.dc, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* out = argc > 1 ? argv[1] : L"button-gallery.bmp";
  const int columns = 6 * 3;
  const int rows = 7 * 6;
  const int extrasH = kHeaderH + kCellH + 10;
  const int sheetW = kLabelW + columns * kCellW;
  const int sheetH = kHeaderH + rows * kCellH + extrasH;

  HDC screen = ::GetDC(nullptr);
  CountedDc dc(::CreateCompatibleDC(screen));
  CountedBitmap bitmap(::CreateCompatibleBitmap(screen, sheetW, sheetH));
  ::ReleaseDC(nullptr, screen);
  if (!dc || !bitmap) return 2;
  orv::win::ScopedSelect selected(dc.get(), bitmap.get());
  Sheet sheet{dc.get(), ::GetSysColor(COLOR_BTNFACE)};
  {
    CountedBrush back(::CreateSolidBrush(sheet.background));
    RECT all{0, 0, sheetW, sheetH};
    ::FillRect(dc.get(), &all, back.get());
  }
  ::SetBkMode(dc.get(), TRANSPARENT);
  CountedFont labelFont(::CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  orv::win::ScopedSelect labelSelected(dc.get(), labelFont.get());

  CountedIcon icon = MakeIcon(16);
  CountedBitmap picture = MakeBitmap(24);
  const CaptionFont font{"Times New Roman", 9.75, 700};

  for (int st = 0; st < 6; ++st)
    for (int cs = 0; cs < 3; ++cs) {
      int x = kLabelW + (st * 3 + cs) * kCellW;
      Label(dc.get(), x, 4, kCellW, kHeaderH, std::string(kStates[st].name) + "\n" + kStyles[cs]);
    }

  for (int shape = 0; shape < 7; ++shape)
    for (int align = 0; align < 6; ++align) {
      int row = shape * 6 + align;
      int y = kHeaderH + row * kCellH;
      Label(dc.get(), 4, y + 8, kLabelW - 8, kCellH, std::string(kShapes[shape]) + "\n" + kAligns[align]);
      for (int st = 0; st < 6; ++st)
        for (int cs = 0; cs < 3; ++cs) {
          const State& s = kStates[st];
          FaceInputs in;
          in.ButtonShape = shape;
          in.ScaleWidth = kButtonW;
          in.ScaleHeight = kButtonH;
          in.Caption = "Gravar";
          in.CaptionStyle = cs;
          in.CaptionAlign = CaptionCenter;
          in.PictureAlign = align;
          in.PictureSize = 16;
          in.Picture = ReadPictureMetrics(icon.get(), 0);
          in.nStateFlags = s.flags;
          in.bMouseHeld = s.held;
          in.bHoverTimer = s.hover;
          in.Enabled = s.enabled;
          in.Mode = s.mode;
          in.Value = s.value;
          in.ScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
          in.ScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
          PaintButton(sheet, kLabelW + (st * 3 + cs) * kCellW, y + 4, in, font);
        }
    }

  // Extras: the gradients, stretched and fitted pictures, a transparent
  // bitmap, and the disabled gradient caption.
  int y = kHeaderH + rows * kCellH + 10;
  Label(dc.get(), 4, y + 8, kLabelW - 8, kCellH, "extras");
  struct Extra { const char* caption; int gradient; int size; bool bitmap; bool enabled; int shape; };
  const Extra extras[] = {
      {"Left>Right", 1, 16, false, true, 0}, {"Right>Left", 2, 16, false, true, 0},
      {"Top>Bottom", 3, 16, false, true, 0}, {"Bottom>Top", 4, 16, false, true, 0},
      {"Off", 1, 16, false, false, 0},      {"Stretch", 0, 40, false, true, 0},
      {"Fit", 0, 48, true, true, 0},        {"Bitmap", 0, 24, true, true, 0},
      {"Bitmap off", 0, 24, true, false, 0}, {"Sobre", 0, 24, false, true, 3},
  };
  for (int i = 0; i < static_cast<int>(sizeof extras / sizeof extras[0]); ++i) {
    const Extra& e = extras[i];
    FaceInputs in;
    in.ButtonShape = e.shape;
    in.ScaleWidth = kButtonW;
    in.ScaleHeight = kButtonH;
    in.Caption = e.caption;
    in.GradientMode = e.gradient;
    in.GradientColor = 0x00804000;
    in.HoverBackColor = in.GradientColor;
    in.BackColor = e.shape == 3 ? 0x0080FFFF : 0x8000000F;
    in.PictureSize = e.size;
    in.Picture = e.bitmap ? ReadPictureMetrics(picture.get(), 0) : ReadPictureMetrics(icon.get(), 0);
    in.Enabled = e.enabled;
    in.ScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    in.ScreenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    PaintButton(sheet, kLabelW + i * kCellW, y + 4, in, font);
  }

  bool ok = WriteBmp(out, dc.get(), bitmap.get(), sheetW, sheetH);
  std::printf("%ls: %dx%d, %s\n", out, sheetW, sheetH, ok ? "written" : "FAILED");
  return ok ? 0 : 1;
}
