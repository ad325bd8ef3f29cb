#pragma once
// Owners for the button's GDI objects that also count how many are alive:
// Wine has no GetGuiResources, so leak tests read this counter instead.
#include <windows.h>

#include <utility>

#include "platform/win/scoped.h"

namespace orv::buttons::win {

// Live objects held by Counted owners (bitmaps, brushes, pens, fonts,
// regions, memory DCs, icon copies) in this process.
long LiveGdiObjects();
void AdjustLiveGdiObjects(long delta);

template <class Handle, class Traits>
class Counted {
 public:
  Counted() = default;
  explicit Counted(Handle h) { reset(h); }
  ~Counted() { reset(); }
  Counted(Counted&& o) noexcept : owner_(std::move(o.owner_)) {}
  Counted& operator=(Counted&& o) noexcept {
    if (this != &o) {
      reset();
      owner_ = std::move(o.owner_);
    }
    return *this;
  }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

  Handle get() const { return owner_.get(); }
  explicit operator bool() const { return static_cast<bool>(owner_); }
  void reset(Handle h = Handle{}) {
    if (owner_) {
      owner_.reset();
      AdjustLiveGdiObjects(-1);
    }
    if (h != Handle{}) {
      owner_.reset(h);
      AdjustLiveGdiObjects(1);
    }
  }
  // Hands the object to someone who deletes it (SetWindowRgn takes regions).
  Handle release() {
    if (owner_) AdjustLiveGdiObjects(-1);
    return owner_.release();
  }

 private:
  orv::win::Unique<Handle, Traits> owner_;
};

using CountedBitmap = Counted<HBITMAP, orv::win::GdiTraits>;
using CountedBrush = Counted<HBRUSH, orv::win::GdiTraits>;
using CountedPen = Counted<HPEN, orv::win::GdiTraits>;
using CountedFont = Counted<HFONT, orv::win::GdiTraits>;
using CountedRegion = Counted<HRGN, orv::win::GdiTraits>;
using CountedDc = Counted<HDC, orv::win::DcTraits>;
using CountedIcon = Counted<HICON, orv::win::IconTraits>;

}  // namespace orv::buttons::win
