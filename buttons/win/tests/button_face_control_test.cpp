// Real kwButtons_H windows with their real face: pixels read back from the
// screen, hover timing with real input, teardown while hovering, and the
// GDI objects a button owns over many redraws.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "buttons/face_renderer.h"
#include "buttons/instances.h"
#include "buttons/win/dib.h"
#include "buttons/win/face_renderer_gdi.h"
#include "buttons/win/gdi_counter.h"
#include "buttons/win/kw_button_control.h"
#include "buttons/win/tests/test_window.h"
#include "platform/win/text.h"

namespace orv::buttons::win {
namespace {

using Clock = std::chrono::steady_clock;

// MouseOnButton with the moment it arrived.
struct HoverLog : KwButtonEvents {
  std::vector<std::pair<bool, Clock::time_point>> changes;
  void MouseOnButton(bool& on) override { changes.push_back({on, Clock::now()}); }
};

class FaceControlTest : public TestWindow {
 protected:
  FaceControlTest() : TestWindow({20, 1, false}) {}
  void SetUp() override {
    moveTo({5, 5});
    ASSERT_NO_FATAL_FAILURE(openForm(L"kw face", 60));
  }
  void TearDown() override { closeForm(); }

  KwButtonControl* add(const std::string& settings, int x, int y, int w, int h, KwButtonEvents* ev = nullptr) {
    KwButtonControl* c = place(10 + static_cast<int>(made_.size()), x, y, w, h, settings, ev);
    ::UpdateWindow(form_);
    pump(20);
    return c;
  }

  POINT screenPoint(KwButtonControl* c, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(c->window(), &p);
    return p;
  }
  COLORREF pixel(KwButtonControl* c, int x, int y) {
    orv::win::WindowDc dc(c->window());
    return ::GetPixel(dc.get(), x, y);
  }
};

SIZE SurfaceBitmapSize(KwButtonControl* c);

// Row i of a face shaded down from `chosen`, as the face paints it.
COLORREF Row(Rgb32 chosen, int i, int height) {
  const float perRow = 25.0f / static_cast<float>(height);
  return ShadeColor(chosen, RoundHalfEven(-static_cast<double>(perRow) * i), true);
}

TEST_F(FaceControlTest, TheFaceShowsRowShadingAndFrameAtRestAndTheHotLookWhileHovered) {
  KwButtonControl* c = add("caption=x\ncback=0x0080FFFF\ncbhover=0x00FF0000\nlockhover=3\n", 20, 20, 100, 40);
  const FaceColors colors = DeriveFaceColors(0x0080FFFF, 0x00FF0000, PlatformSystemColor);
  EXPECT_EQ(pixel(c, 8, 5), Row(colors.FaceColor, 5, 40));
  EXPECT_EQ(pixel(c, 8, 30), Row(colors.FaceColor, 30, 40));
  EXPECT_EQ(pixel(c, 0, 20), kFrameColor);
  EXPECT_EQ(pixel(c, 2, 20), ShadeColor(colors.FaceColor, -10, true));  // inner left, normal column

  moveTo(screenPoint(c, 50, 30));
  ASSERT_TRUE(c->button().bHoverTimer());
  EXPECT_EQ(pixel(c, 8, 5), Row(colors.HoverFaceColor, 5, 40));
  EXPECT_EQ(pixel(c, 2, 20), 0x6BCBFFu);   // inner left, hot column
  EXPECT_EQ(pixel(c, 50, 38), 0x0096E7u);  // middle bottom, hot column

  moveTo({5, 5});
  pump(150);
  ASSERT_FALSE(c->button().bHoverTimer());
  EXPECT_EQ(pixel(c, 8, 5), Row(colors.FaceColor, 5, 40));
}

TEST_F(FaceControlTest, AButtonMadeOnAHiddenFormShowsItsWholeFaceWhenTheFormShows) {
  ::ShowWindow(form_, SW_HIDE);
  KwButtonControl* c = add("caption=x\ncback=0x0080FFFF\n", 20, 20, 100, 40);
  RECT rc;
  ::GetClientRect(c->window(), &rc);
  EXPECT_EQ(rc.right, 100);
  ::ShowWindow(form_, SW_SHOW);
  ::UpdateWindow(form_);
  pump(20);
  const FaceColors colors = DeriveFaceColors(0x0080FFFF, 0x0080FFFF, PlatformSystemColor);
  EXPECT_EQ(pixel(c, 8, 5), Row(colors.FaceColor, 5, 40));
  EXPECT_EQ(pixel(c, 0, 20), kFrameColor);
  EXPECT_EQ(SurfaceBitmapSize(c).cx, 100);
}

TEST_F(FaceControlTest, HoverStartsOnceForManyMovesAndEndsWithinThreeTicksOfLeaving) {
  HoverLog log;
  KwButtonControl* c = add("caption=Ok\n", 20, 20, 120, 40, &log);
  for (int i = 0; i < 25; ++i) {
    POINT p = screenPoint(c, 10 + 4 * i, 10 + i % 20);
    ::SetCursorPos(p.x, p.y);
    ::PostMessageW(c->window(), WM_MOUSEMOVE, 0, MAKELPARAM(10 + 4 * i, 10 + i % 20));
    pump(4);
  }
  ASSERT_EQ(log.changes.size(), 1u);
  EXPECT_TRUE(log.changes[0].first);
  EXPECT_EQ(::GetPropW(c->window(), L"kw_TimerID"), reinterpret_cast<HANDLE>(237));
  EXPECT_EQ(::GetPropW(c->window(), L"kw_ClassID"), reinterpret_cast<HANDLE>(&c->button()));

  const Clock::time_point left = Clock::now();
  ::SetCursorPos(5, 5);
  const DWORD end = ::GetTickCount() + 400;
  while (log.changes.size() < 2 && static_cast<int>(end - ::GetTickCount()) > 0) pump(1);
  ASSERT_EQ(log.changes.size(), 2u);
  EXPECT_FALSE(log.changes[1].first);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(log.changes[1].second - left).count();
  std::printf("MouseOnButton(False) %lld ms after leaving\n", static_cast<long long>(ms));
  // One 50 ms tick, with room for a loaded machine.
  EXPECT_LE(ms, 150);
  EXPECT_FALSE(c->button().bHoverTimer());
}

// The button's timer as the window system sees it once the button's
// WM_DESTROY has been handled.
struct TeardownProbe {
  static inline HWND button = nullptr;
  static inline int timerAliveAfterDestroy = -1;
  static inline HANDLE classIdAfterDestroy = reinterpret_cast<HANDLE>(1);
  static LRESULT CALLBACK Hook(int code, WPARAM w, LPARAM l) {
    auto* m = reinterpret_cast<CWPRETSTRUCT*>(l);
    if (code == HC_ACTION && m->hwnd == button && m->message == WM_DESTROY) {
      timerAliveAfterDestroy = ::KillTimer(button, HoverTimerId) ? 1 : 0;
      classIdAfterDestroy = ::GetPropW(button, L"kw_ClassID");
    }
    return ::CallNextHookEx(nullptr, code, w, l);
  }
};

TEST_F(FaceControlTest, ClosingTheWindowUnderTheRestingPointerStopsTheTimerAndNoTickFollows) {
  const long base = LiveGdiObjects();
  HoverLog log;
  KwButtonControl* c = add("caption=Retornar\n", 20, 20, 97, 65, &log);
  add("caption=Outro\n", 140, 20, 97, 65);
  moveTo(screenPoint(c, 40, 30));
  ASSERT_TRUE(c->button().bHoverTimer());
  pump(120);  // a few ticks while the pointer rests
  ASSERT_EQ(log.changes.size(), 1u);

  HWND button = c->window();
  TeardownProbe::button = button;
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, TeardownProbe::Hook, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  ::DestroyWindow(form_);
  ::UnhookWindowsHookEx(hook);
  EXPECT_EQ(TeardownProbe::timerAliveAfterDestroy, 0);
  EXPECT_EQ(TeardownProbe::classIdAfterDestroy, nullptr);

  int ticks = 0;
  const DWORD end = ::GetTickCount() + 200;
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER && msg.hwnd == button) ++ticks;
      ::DispatchMessageW(&msg);
    }
    ::Sleep(2);
  } while (static_cast<int>(end - ::GetTickCount()) > 0);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(log.changes.size(), 1u);  // no MouseOnButton from a dead button
  EXPECT_FALSE(::IsWindow(button));
  EXPECT_EQ(LiveGdiObjects(), base);  // surface, font, clip: all gone with the button
}

TEST_F(FaceControlTest, OneHundredThousandRedrawsOfARealButtonKeepItsObjectCount) {
  const long base = LiveGdiObjects();
  const ButtonInstance* sair = FindButtonInstance("Form1", "kwButtons_H1");
  ASSERT_NE(sair, nullptr);
  KwButtonControl* c = add(std::string(sair->settings), 20, 20, sair->width, sair->height);
  const long live = LiveGdiObjects();
  EXPECT_EQ(live, base + 5);  // memory DC, bitmap, pen, brush, font
  const auto started = Clock::now();
  for (int i = 1; i <= 100000; ++i) {
    c->button().Refresh();
    if (i % 10000 == 0) {
      ASSERT_EQ(LiveGdiObjects(), live) << "after " << i << " redraws";
      MSG msg;
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
  }
  std::printf("100000 redraws of a real button: %.1f s\n",
              std::chrono::duration<double>(Clock::now() - started).count());
  ::DestroyWindow(c->window());
  EXPECT_EQ(LiveGdiObjects(), base);
}

// A 24 x 24 bitmap file: magenta (its top-left colour, so transparent) with
// a diamond of RGB(0xC0, 0x40, 0x20).
std::wstring WriteDiamondBitmap() {
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"kw_face_test.bmp";
  const int n = 24;
  CountedBitmap diamond = MakeDib(n, n, [](int x, int y) {
    return std::abs(x - n / 2) + std::abs(y - n / 2) < n / 2 ? RGB(0xC0, 0x40, 0x20) : RGB(0xFF, 0x00, 0xFF);
  });
  orv::win::WindowDc screen(nullptr);
  return WriteBmp(path.c_str(), screen.get(), diamond.get(), n, n) ? path : std::wstring{};
}

TEST_F(FaceControlTest, PicturesFromFilesAreDrawnAndMissingResourcesLeaveNone) {
  const std::wstring path = WriteDiamondBitmap();
  ASSERT_FALSE(path.empty());
  const long base = LiveGdiObjects();
  {
    // The test program has no icon resources: the picture is simply absent.
    KwButtonControl* c = add("caption=Gravar\nimage=res:kw_gravar\n", 20, 20, 89, 33);
    EXPECT_EQ(c->button().pictureWidth() + c->button().pictureHeight(), 0);
    ::DestroyWindow(c->window());
  }
  std::string stored;  // backslashes escaped, as the bag text keeps them
  for (char ch : orv::win::Narrow(path)) stored += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
  KwButtonControl* c = add("caption=Ok\nimage=" + stored + "\n", 20, 20, 100, 40);
  EXPECT_EQ(c->button().pictureWidth(), 24);
  // Stored size 16 on the left edge: (6, 12)-(22, 28), scaled down.
  EXPECT_EQ(pixel(c, 14, 20), RGB(0xC0, 0x40, 0x20));
  EXPECT_NE(pixel(c, 6, 12), RGB(255, 0, 255));

  // States, sizes, shapes and the greyed image: nothing is left behind.
  const long live = LiveGdiObjects();
  EXPECT_EQ(live, base + 6);  // the surface's five and the loaded picture
  for (int i = 0; i < 300; ++i) {
    if (i % 50 == 0) c->button().setButtonShape((i / 50) % 7);
    if (i % 30 == 0) ::SetWindowPos(c->window(), nullptr, 0, 0, 100 + i / 10, 40 + i / 30, SWP_NOMOVE | SWP_NOZORDER);
    if (i % 40 == 0) c->button().setEnabled(i % 80 != 0);
    c->button().setPictureSize(i % 5);
    c->button().Refresh();
  }
  const int clip = IsEllipseShape(c->button().ButtonShape()) ? 1 : 0;
  EXPECT_EQ(LiveGdiObjects(), live + clip);
  ::DestroyWindow(c->window());
  EXPECT_EQ(LiveGdiObjects(), base);
  ::DeleteFileW(path.c_str());
}

// The bitmap selected into a button's drawing surface.
SIZE SurfaceBitmapSize(KwButtonControl* c) {
  auto* renderer = dynamic_cast<GdiFaceRenderer*>(&c->renderer());
  if (!renderer) return {0, 0};
  HGDIOBJ bitmap = ::GetCurrentObject(renderer->platform().drawingSurface().dc(), OBJ_BITMAP);
  BITMAP bm{};
  ::GetObjectW(bitmap, sizeof bm, &bm);
  return {bm.bmWidth, bm.bmHeight};
}

TEST_F(FaceControlTest, SlantedButtonsTooNarrowForTheirSlantAreWidenedAndPaintedAtTheNewWidth) {
  KwButtonControl* loaded = add("caption=Ok\nshape=1\n", 20, 20, 24, 20);
  RECT rc;
  ::GetClientRect(loaded->window(), &rc);
  EXPECT_EQ(rc.right, 29);  // slant 21: 24 + 5
  EXPECT_EQ(SurfaceBitmapSize(loaded).cx, 29);
  EXPECT_EQ(pixel(loaded, 28, 10), kFrameColor);  // the upright right edge

  KwButtonControl* set = add("caption=Ok\n", 20, 60, 24, 20);
  set->button().setButtonShape(ShapeParallelogram);
  ::GetClientRect(set->window(), &rc);
  EXPECT_EQ(rc.right, 29);
  EXPECT_EQ(SurfaceBitmapSize(set).cx, 29);
  EXPECT_FALSE(set->button().bDelayDrawing());
}

}  // namespace
}  // namespace orv::buttons::win
