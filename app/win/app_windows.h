#pragma once
// The windows beside the main one: Help and About, shown on request, and the
// button factory every window uses.
#include <windows.h>

#include "infowindows/win/info_windows.h"
#include "platform/win/button_factory.h"
#include "platform/win/scoped.h"
#include "scheduler/win/form1_window.h"

namespace orv::win {

class AppWindows {
 public:
  AppWindows(HINSTANCE instance, Form1Window& main);
  // Puts the program's own buttons on every window; call before creating them.
  void InstallButtons();
  void ShowHelp();
  void ShowAbout();

 private:
  HINSTANCE instance_;
  Form1Window& main_;
  ButtonFactory buttons_;
  WinShell shell_;
  UniqueIcon icon_;
};

}  // namespace orv::win
