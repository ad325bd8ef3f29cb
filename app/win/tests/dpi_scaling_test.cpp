// The main window follows the dpi: laid out from its 96-dpi design at the
// system dpi when it opens (tools/dpi-check.sh runs this at 144 dpi too), and
// again when the system moves it to a monitor of another dpi.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/win/dpi.h"
#include "platform/win/scoped.h"
#include "scheduler/win/form1_window.h"

using namespace orv;
using namespace orv::win;

namespace {

std::wstring IconFile() {
  std::string src = __FILE__;
  const std::string tail = "tests/dpi_scaling_test.cpp";
  std::string path = src.substr(0, src.size() - tail.size()) + "res/orvalen.ico";
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  return std::wstring(path.begin(), path.end());
}

struct DpiScalingTest : ::testing::Test {
  void SetUp() override {
    icon.reset(static_cast<HICON>(
        LoadImageW(nullptr, IconFile().c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE)));
    ASSERT_TRUE(w.Create(icon.get()));
  }
  SIZE Client() {
    RECT r;
    GetClientRect(w.hwnd(), &r);
    return {r.right, r.bottom};
  }
  RECT Rect(HWND c) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, GetParent(c), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  LOGFONTW FontOf(HWND c) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
  }
  // Design rectangle (96 dpi) as it must be at `dpi`: edges scaled as MulDiv does.
  void ExpectPlaced(HWND c, int dpi, int x, int y, int width, int height) {
    const Dpi d(dpi);
    RECT r = Rect(c);
    EXPECT_EQ(r.left, d.px(x));
    EXPECT_EQ(r.top, d.px(y));
    EXPECT_EQ(r.right, d.px(x + width));
    EXPECT_EQ(r.bottom, d.px(y + height));
  }
  // A sample across the window: a slot row, the indicators, the groups'
  // contents, the buttons.
  void ExpectLayoutAt(int dpi) {
    ExpectPlaced(w.control(Form1Window::kIdMensBase), dpi, 64, 128, 449, 27);
    ExpectPlaced(w.control(Form1Window::kIdTempBase + 8), dpi, 568, 384, 41, 25);
    ExpectPlaced(w.control(Form1Window::kIdCheck21), dpi, 528, 72, 89, 17);
    ExpectPlaced(w.control(Form1Window::kIdShowTime), dpi, 312, 448, 89, 25);
    ExpectPlaced(w.control(Form1Window::kIdH1), dpi, 16, 520, 257, 17);
    ExpectPlaced(w.control(Form1Window::kIdVolSet4), dpi, 576, 528, 33, 19);
    ExpectPlaced(w.control(Form1Window::kIdSair), dpi, 432, 560, 185, 33);
    ExpectPlaced(w.control(Form1Window::kIdAjuda), dpi, 200, 560, 105, 33);
  }
  // MS Sans Serif 8.25 pt and 13.5 pt, in scalable faces.
  void ExpectFontsAt(int dpi) {
    HDC dc = GetDC(nullptr);
    for (auto [id, points] : {std::pair{Form1Window::kIdPtt, 8.25}, std::pair{Form1Window::kIdShowTime, 13.5}}) {
      SCOPED_TRACE(id);
      LOGFONTW lf = FontOf(w.control(id));
      EXPECT_EQ(lf.lfHeight, -static_cast<int>(points * dpi / 72 + 0.5));
      EXPECT_STRNE(lf.lfFaceName, L"MS Sans Serif") << "a bitmap face comes in fixed sizes only";
      UniqueFont f(CreateFontIndirectW(&lf));
      ScopedSelect sel(dc, f.get());
      TEXTMETRICW tm;
      GetTextMetricsW(dc, &tm);
      EXPECT_TRUE(tm.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) << "not scalable";
    }
    ReleaseDC(nullptr, dc);
  }
  int SmallIconWidth() {
    auto icon = reinterpret_cast<HICON>(SendMessageW(w.hwnd(), WM_GETICON, ICON_SMALL, 0));
    ICONINFO ii{};
    if (!icon || !GetIconInfo(icon, &ii)) return 0;
    UniqueBitmap color(ii.hbmColor), mask(ii.hbmMask);
    BITMAP bm{};
    GetObjectW(ii.hbmColor ? ii.hbmColor : ii.hbmMask, sizeof bm, &bm);
    return bm.bmWidth;
  }

  UniqueIcon icon;
  Form1Window w;
};

}  // namespace

TEST_F(DpiScalingTest, MainWindowIsLaidOutAtTheSystemDpi) {
  const int dpi = Dpi::ForSystem().value();
  const SIZE c = Client();
  EXPECT_EQ(c.cx, MulDiv(625, dpi, 96));
  EXPECT_EQ(c.cy, MulDiv(602, dpi, 96));
  if (dpi == 144) {
    EXPECT_EQ(c.cx, 938);
    EXPECT_EQ(c.cy, 903);
  }
  ExpectLayoutAt(dpi);
  ExpectFontsAt(dpi);
  EXPECT_EQ(SmallIconWidth(), Dpi(dpi).metric(SM_CXSMICON));
}

TEST_F(DpiScalingTest, MovingToAMonitorOfAnotherDpiLaysTheWindowOutAgain) {
  const int from = Dpi::ForSystem().value();
  const int to = from == 144 ? 96 : 144;
  auto change = [this](int old, int dpi) {
    RECT wr;
    GetWindowRect(w.hwnd(), &wr);
    // As the system suggests it: the same place, the size scaled.
    RECT suggested{wr.left, wr.top, wr.left + MulDiv(wr.right - wr.left, dpi, old),
                   wr.top + MulDiv(wr.bottom - wr.top, dpi, old)};
    SendMessageW(w.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
  };
  HFONT before = reinterpret_cast<HFONT>(SendMessageW(w.control(Form1Window::kIdPtt), WM_GETFONT, 0, 0));

  const RECT suggested = change(from, to);
  SIZE c = Client();
  EXPECT_EQ(c.cx, MulDiv(625, to, 96));
  EXPECT_EQ(c.cy, MulDiv(602, to, 96));
  if (to == 144) {
    EXPECT_EQ(c.cx, 938);
    EXPECT_EQ(c.cy, 903);
  }
  RECT wr;
  GetWindowRect(w.hwnd(), &wr);
  EXPECT_EQ(wr.left, suggested.left);
  EXPECT_EQ(wr.top, suggested.top);
  ExpectLayoutAt(to);
  ExpectFontsAt(to);
  EXPECT_NE(reinterpret_cast<HFONT>(SendMessageW(w.control(Form1Window::kIdPtt), WM_GETFONT, 0, 0)), before);
  EXPECT_EQ(SmallIconWidth(), Dpi(to).metric(SM_CXSMICON));

  // And back: from the design again, so nothing is off by a rounding.
  change(to, from);
  c = Client();
  EXPECT_EQ(c.cx, MulDiv(625, from, 96));
  EXPECT_EQ(c.cy, MulDiv(602, from, 96));
  ExpectLayoutAt(from);
  ExpectFontsAt(from);
}
