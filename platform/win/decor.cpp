#include "platform/win/decor.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/win/dpi.h"
#include "platform/win/win_clock.h"
#include "platform/win/win_timers.h"

namespace orv::win {

namespace {
constexpr long long kFrameMs = 400;  // decorative: a few frames a second cost next to nothing
constexpr int kFrames = 8;

// One timer moves every animation of the thread: the main window's two
// would otherwise wake the program twice for each frame.
std::vector<AnimationControl*>& MovingAnimations() {
  static std::vector<AnimationControl*> moving;
  return moving;
}
TimerService* givenTimers = nullptr;
std::unique_ptr<Timer>& FrameTimer() {
  static std::unique_ptr<Timer> timer;
  return timer;
}
TimerService& FrameTimers() {
  if (givenTimers) return *givenTimers;
  static WinTimerService own;  // for windows shown without the program's timers
  return own;
}

// Frames fall on the wall clock's grid of frame times, so every few frames
// one shares its wake-up with the clock's turn of the second.
Millis UntilNextFrame() {
  long long delay = kFrameMs - static_cast<long long>(WallClockMillis() % kFrameMs);
  // Woken a hair before the grid time: that frame is this one.
  if (delay < kFrameMs / 8) delay += kFrameMs;
  return Millis(delay);
}
}  // namespace

void AnimationControl::StartFrameTimer() {
  FrameTimer() = FrameTimers().create(&AnimationControl::NextFrame);
  FrameTimer()->start(UntilNextFrame());
}

void AnimationControl::UseTimers(TimerService* timers) {
  FrameTimer().reset();
  givenTimers = timers;
  if (!MovingAnimations().empty()) StartFrameTimer();
}

int AnimationControl::Moving() { return static_cast<int>(MovingAnimations().size()); }

AnimationControl::~AnimationControl() { Stop(); }

bool AnimationControl::Create(HWND parent, int x, int y, int w, int h, int style, COLORREF background) {
  style_ = style;
  background_ = background;
  // Moving starts with the first paint. A DC of its own: each frame is one
  // copy to the screen, without asking for a DC or a paint cycle.
  return CreateChild(L"OrvalenAnimation", parent, WS_VISIBLE | WS_CLIPSIBLINGS, 0, x, y, w, h, 0, CS_OWNDC);
}

void AnimationControl::Start() {
  if (moving_) return;
  if (!FrameTimer()) StartFrameTimer();
  MovingAnimations().push_back(this);
  moving_ = true;
}

void AnimationControl::Stop() {
  if (!moving_) return;
  auto& moving = MovingAnimations();
  moving.erase(std::remove(moving.begin(), moving.end(), this), moving.end());
  moving_ = false;
  if (moving.empty()) FrameTimer().reset();
}

void AnimationControl::NextFrame() {
  // A copy: a control may stop (and leave the list) on its turn.
  const std::vector<AnimationControl*> moving = MovingAnimations();
  for (AnimationControl* a : moving) {
    // Nobody sees a minimised window: the control rests until its first
    // paint after the window is restored, and goes on from the same frame.
    if (!a->hwnd() || IsIconic(GetAncestor(a->hwnd(), GA_ROOT))) {
      a->Stop();
      continue;
    }
    a->frame_ = (a->frame_ + 1) % kFrames;
    HDC dc = GetDC(a->hwnd());
    if (!dc) continue;
    a->Show(dc);
    ReleaseDC(a->hwnd(), dc);
  }
  if (FrameTimer()) FrameTimer()->start(UntilNextFrame());
}

void AnimationControl::Show(HDC dc) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  // Every frame is drawn once, side by side in one bitmap that stays in a
  // memory DC of its own: a tick only copies its frame. A DC made and
  // dropped for each copy cost more than the copy under Wine, and the
  // program runs for weeks: its idle cost matters.
  if (!framesDc_) {
    UniqueBitmap frames(CreateCompatibleBitmap(dc, rc.right * kFrames, rc.bottom));
    UniqueMemDc mem(CreateCompatibleDC(dc));
    if (!frames || !mem) return;
    SelectObject(mem.get(), frames.get());
    const int keep = frame_;
    for (frame_ = 0; frame_ < kFrames; ++frame_) {
      SetViewportOrgEx(mem.get(), frame_ * rc.right, 0, nullptr);
      Paint(mem.get(), rc.right, rc.bottom);
    }
    SetViewportOrgEx(mem.get(), 0, 0, nullptr);
    frame_ = keep;
    frames_ = std::move(frames);
    framesDc_ = std::move(mem);
  }
  BitBlt(dc, 0, 0, rc.right, rc.bottom, framesDc_.get(), frame_ * rc.right, 0, SRCCOPY);
}

void AnimationControl::DropFrames() {
  // The DC first: a bitmap still selected into one cannot be deleted.
  framesDc_.reset();
  frames_.reset();
}

void AnimationControl::Paint(HDC dc, int w, int h) {
  UniqueBrush bg(CreateSolidBrush(background_));
  RECT r{0, 0, w, h};
  FillRect(dc, &r, bg.get());
  // Line widths and the tip follow the dpi; the rest follows the size.
  const Dpi dpi = Dpi::ForWindow(hwnd());
  const int cx = w / 2;
  const int base = h - dpi.px(3);
  const int top = h / 3;
  const int tipR = dpi.px(3);
  // The mast.
  UniquePen mast(CreatePen(PS_SOLID, dpi.px(2), RGB(0, 0, 128)));
  {
    ScopedSelect sp(dc, mast.get());
    MoveToEx(dc, cx - w / 5, base, nullptr);
    LineTo(dc, cx, top);
    LineTo(dc, cx + w / 5, base);
    MoveToEx(dc, cx - w / 9, (base + top) / 2, nullptr);
    LineTo(dc, cx + w / 9, (base + top) / 2);
  }
  UniqueBrush tip(CreateSolidBrush(RGB(220, 0, 0)));
  {
    ScopedSelect sb(dc, tip.get());
    ScopedSelect sp(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, cx - tipR, top - tipR, cx + tipR + 1, top + tipR + 1);
  }
  // Waves leaving the tip; each frame moves them one step outwards.
  const int maxR = (style_ == 0 ? w : w * 2 / 3);
  for (int k = 0; k < 3; ++k) {
    int step = (frame_ + k * kFrames / 3) % kFrames;
    int rad = dpi.px(6) + step * (maxR / 2 - dpi.px(6)) / kFrames;
    int fade = 80 + step * 170 / kFrames;
    UniquePen wave(CreatePen(PS_SOLID, dpi.px(1), style_ == 0 ? RGB(fade, fade, 255) : RGB(255, fade, fade)));
    ScopedSelect sp(dc, wave.get());
    ScopedSelect sb(dc, GetStockObject(NULL_BRUSH));
    Arc(dc, cx - rad, top - rad, cx + rad, top + rad, cx + rad, top + rad / 2, cx + rad, top - rad / 2);
    Arc(dc, cx - rad, top - rad, cx + rad, top + rad, cx - rad, top - rad / 2, cx - rad, top + rad / 2);
  }
}

LRESULT AnimationControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      DropFrames();  // drawn again at the new size
      break;
    case WM_PAINT: {
      Start();
      PaintDc pdc(hwnd());
      Show(pdc.get());
      return 0;
    }
    case WM_DESTROY:
      Stop();
      DropFrames();
      break;
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

bool BannerControl::Create(HWND parent, int x, int y, int w, int h, HICON picture, int picX, int picY, int picSize) {
  picture_ = picture;
  picX_ = picX;
  picY_ = picY;
  picSize_ = picSize;
  return CreateChild(L"OrvalenBanner", parent, WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, x, y, w, h, 0);
}

void BannerControl::SetPicture(HICON picture, int picX, int picY, int picSize) {
  picture_ = picture;
  picX_ = picX;
  picY_ = picY;
  picSize_ = picSize;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT BannerControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd(), &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, white_.get());
      return 1;
    }
    case WM_PAINT: {
      PaintDc pdc(hwnd());
      if (picture_) DrawIconEx(pdc.get(), picX_, picY_, picture_, picSize_, picSize_, 0, nullptr, DI_NORMAL);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, RGB(255, 255, 255));
      SetTextColor(dc, RGB(0, 0, 128));
      return reinterpret_cast<LRESULT>(white_.get());
    }
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

}  // namespace orv::win
