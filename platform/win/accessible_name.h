#pragma once
// A name for screen readers on a control whose window text is its content
// (an edit box holding a file name, a label holding a countdown): set
// through the system's dynamic annotation, so the text itself stays as it is.
#include <windows.h>

#include <oleacc.h>
#include <wrl/client.h>

#include <string>

namespace orv::win {

// One annotation service for a window's many names: creating it is a COM
// activation each time, which a window of thirty named boxes should pay once.
class AccessibleNames {
 public:
  // False when the system offers no annotation service (older systems, Wine
  // without one): the control then keeps its default name.
  bool Set(HWND control, const std::wstring& name);

 private:
  Microsoft::WRL::ComPtr<IAccPropServices> services_;
  bool unavailable_ = false;
};

}  // namespace orv::win
