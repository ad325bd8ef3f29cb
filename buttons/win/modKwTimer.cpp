#include "buttons/win/modKwTimer.h"

#include "buttons/kw_button.h"
#include "buttons/win/kw_button_control.h"

namespace orv::buttons::win {

void CALLBACK HoverTimerProc(HWND hwnd, UINT, UINT_PTR timerId, DWORD) {
  // Non-owning: the button removes these properties and kills the timer when
  // it ends, so a tick never finds a destroyed button here.
  auto* button = reinterpret_cast<KwButton*>(::GetPropW(hwnd, L"kw_ClassID"));
  const int id = static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropW(hwnd, L"kw_TimerID")));
  if (!button) {
    ::KillTimer(hwnd, timerId);  // a stray tick after the button let go of the window
    return;
  }
  try {
    button->TrackMouseLeave(id);
    if (KwButtonControl* c = KwButtonFromWindow(hwnd)) c->announceChanges();
  } catch (...) {
    // nothing may leave a timer callback
  }
}

}  // namespace orv::buttons::win
