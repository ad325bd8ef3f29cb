#include "app/win/app_windows.h"

#include "app/win/resource_ids.h"

namespace orv::win {

AppWindows::AppWindows(HINSTANCE instance, Form1Window& main)
    : instance_(instance),
      main_(main),
      icon_(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ORVALEN), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))) {}

void AppWindows::InstallButtons() {
  main_.SetButtonFactory(buttons_);
}

void AppWindows::ShowHelp() { HelpWindow::ShowModal(main_.hwnd(), icon_.get(), buttons_); }

void AppWindows::ShowAbout() { AboutWindow::ShowModal(main_.hwnd(), icon_.get(), buttons_, shell_); }

}  // namespace orv::win
