#pragma once
// Message boxes for the core.
#include <windows.h>

#include <string>

#include "platform/dialogs.h"

namespace orv::win {

class WinDialogs : public Dialogs {
 public:
  explicit WinDialogs(HWND owner = nullptr) : owner_(owner) {}
  void setOwner(HWND owner) { owner_ = owner; }
  MsgResult show(const std::string& text, const std::string& title, MsgButtons buttons, MsgIcon icon,
                 int defaultButton) override;
 private:
  HWND owner_;
};

}  // namespace orv::win
