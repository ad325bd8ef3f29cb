#include "platform/win/win_app_control.h"

namespace orv::win {

void WinAppControl::quit(int exitCode) {
  if (quitting_) return;
  quitting_ = true;
  exitCode_ = exitCode;
  PostQuitMessage(exitCode);
}

}  // namespace orv::win
