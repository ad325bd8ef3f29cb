#pragma once
// The hover timer's callback: finds its button through the window
// properties kw_ClassID and kw_TimerID of the button's window.
#include <windows.h>

namespace orv::buttons::win {

void CALLBACK HoverTimerProc(HWND hwnd, UINT msg, UINT_PTR timerId, DWORD time);

}  // namespace orv::buttons::win
