#include "platform/win/win_dialogs.h"

#include "platform/win/text.h"

namespace orv::win {

MsgResult WinDialogs::show(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon,
                           int defaultButton) {
  UINT flags = buttons == MsgButtons::YesNo ? MB_YESNO : MB_OK;
  switch (icon) {
    case MsgIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MsgIcon::Question: flags |= MB_ICONQUESTION; break;
    case MsgIcon::Error: flags |= MB_ICONERROR; break;
    case MsgIcon::None: break;
  }
  flags |= defaultButton == 1 ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
  HWND owner = owner_ && IsWindow(owner_) ? owner_ : nullptr;
  int r = MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), flags | (owner ? 0 : MB_TASKMODAL));
  if (r == IDYES) return MsgResult::Yes;
  if (r == IDNO) return MsgResult::No;
  return MsgResult::Ok;
}

}  // namespace orv::win
