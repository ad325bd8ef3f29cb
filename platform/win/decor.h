#pragma once
// Decorative pieces: the looping animation (a mast sending waves) and the
// white banner area that holds the title labels and a still picture.
#include <windows.h>

#include "platform/timers.h"
#include "platform/win/base_window.h"
#include "platform/win/scoped.h"

namespace orv::win {

class AnimationControl : public BaseWindow {
 public:
  ~AnimationControl() override;
  // `style` picks one of two drawings so the two animations differ.
  bool Create(HWND parent, int x, int y, int w, int h, int style, COLORREF background);
  int frame() const { return frame_; }
  // How many animations the shared frame timer moves now, for tests.
  static int Moving();
  // The frames ride on these timers (the program's own, so they share its
  // wake-ups); without them, on timers of their own. Null before they go.
  static void UseTimers(TimerService* timers);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Paint(HDC dc, int w, int h);
  void Show(HDC dc);
  void Start();
  void Stop();
  static void NextFrame();
  static void StartFrameTimer();
  void DropFrames();
  UniqueBitmap frames_;
  UniqueMemDc framesDc_;  // holds frames_ selected; after it, so it goes first
  int frame_ = 0;
  int style_ = 0;
  bool moving_ = false;  // among those the frame timer moves
  COLORREF background_ = RGB(255, 255, 255);
};

// The animations ride on the given timers while this lives.
class AnimationTimers {
 public:
  explicit AnimationTimers(TimerService& timers) { AnimationControl::UseTimers(&timers); }
  ~AnimationTimers() { AnimationControl::UseTimers(nullptr); }
  AnimationTimers(const AnimationTimers&) = delete;
  AnimationTimers& operator=(const AnimationTimers&) = delete;
};

class BannerControl : public BaseWindow {
 public:
  bool Create(HWND parent, int x, int y, int w, int h, HICON picture, int picX, int picY, int picSize);
  // Another picture or place, in the banner's pixels (a change of dpi).
  void SetPicture(HICON picture, int picX, int picY, int picSize);

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HICON picture_ = nullptr;
  int picX_ = 0, picY_ = 0, picSize_ = 32;
  UniqueBrush white_{CreateSolidBrush(RGB(255, 255, 255))};
};

}  // namespace orv::win
