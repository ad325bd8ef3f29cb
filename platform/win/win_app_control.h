#pragma once
// Ending the program from the core.
#include <windows.h>

#include "platform/app_control.h"

namespace orv::win {

// Ends the message loop; ticks and host events stop being handled at once.
class WinAppControl : public AppControl {
 public:
  void quit(int exitCode) override;
  bool quitting() const override { return quitting_; }
  int exitCode() const { return exitCode_; }
 private:
  bool quitting_ = false;
  int exitCode_ = 0;
};

}  // namespace orv::win
