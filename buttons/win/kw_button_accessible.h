#pragma once
// The accessible object a kwButtons_H window hands out for WM_GETOBJECT.
// The system's standard object would call it a plain client area with no
// name and no action, so the button answers for itself. The object holds
// only the window handle: once the window is gone it answers "disconnected".
#include <windows.h>

namespace orv::buttons::win {

// The WM_GETOBJECT answer for the client object; 0 for any other object
// (the caller then lets DefWindowProc answer).
LRESULT AnswerGetObject(HWND button, WPARAM wParam, LPARAM lParam);

// Tells listening tools what changed (NotifyWinEvent on the client object).
void AnnounceNameChange(HWND button);
void AnnounceStateChange(HWND button);
void AnnounceValueChange(HWND button);
void AnnounceFocus(HWND button);

}  // namespace orv::buttons::win
