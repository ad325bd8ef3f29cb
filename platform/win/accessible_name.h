#pragma once
// A name for screen readers on a control whose window text is its content
// (an edit box holding a file name, a label holding a countdown): set
// through the system's dynamic annotation, so the text itself stays as it is.
#include <windows.h>

#include <string>

namespace orv::win {

// False when the system offers no annotation service (older systems, Wine
// without one): the control then keeps its default name.
bool SetAccessibleName(HWND control, const std::wstring& name);

}  // namespace orv::win
