// Option groups: every option-mode button of one container window is listed
// in that window's properties kw_OptCount and kw_Obj1..kw_Objn, each entry the
// member's address (not an owning reference). Members leave the list before
// they are destroyed, so an address read from it is always a live button.
#include <string>

#include "buttons/kw_button.h"

namespace orv::buttons {

namespace {

std::string ObjName(std::intptr_t i) { return std::string(kPropObjPrefix) + std::to_string(i); }

}  // namespace

bool KwButton::OptionToggle(int action) {
  bool anySelected = false;
  const WindowRef box = container();
  const std::intptr_t n = host_.getProp(box, kPropOptCount);

  // A missing entry ends the routine, as any failure inside it does.
  auto member = [&](std::intptr_t i) { return reinterpret_cast<KwButton*>(host_.getProp(box, ObjName(i))); };

  if ((action == GroupJoin || n > 0) && value_) {
    for (std::intptr_t i = 1; i <= n; ++i) {
      KwButton* other = member(i);
      if (!other) return anySelected;
      if (other != this) other->setValue(false);
    }
  }

  switch (action) {
    case GroupJoin: {
      for (std::intptr_t i = 1; i <= n; ++i)
        if (member(i) == this) return anySelected;  // never listed twice
      host_.setProp(box, kPropOptCount, n + 1);
      host_.setProp(box, ObjName(n + 1), reinterpret_cast<std::intptr_t>(this));
      break;
    }
    case GroupAnySelected:
      for (std::intptr_t i = 1; i <= n; ++i) {
        KwButton* other = member(i);
        if (!other) return anySelected;
        if (other->Value()) {
          anySelected = true;
          break;
        }
      }
      break;
    case GroupLeave: {
      std::intptr_t k = 0;
      for (std::intptr_t i = 1; i <= n && k == 0; ++i)
        if (member(i) == this) k = i;
      if (k == 0) break;  // not a member: shifting from index 1 would drop a live one
      for (std::intptr_t i = k + 1; i <= n; ++i) host_.setProp(box, ObjName(i - 1), host_.getProp(box, ObjName(i)));
      host_.removeProp(box, ObjName(n));
      if (n - 1 == 0) host_.removeProp(box, kPropOptCount);
      else host_.setProp(box, kPropOptCount, n - 1);
      break;
    }
    default:
      break;
  }
  return anySelected;
}

}  // namespace orv::buttons
