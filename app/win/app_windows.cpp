#include "app/win/app_windows.h"

#include "app/win/resource_ids.h"
#include "buttons/instances.h"
#include "buttons/win/kw_button_control.h"

namespace orv::win {

AppWindows::AppWindows(HINSTANCE instance, Form1Window& main)
    : instance_(instance),
      main_(main),
      icon_(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ORVALEN), IMAGE_ICON,
                                          GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))) {}

void AppWindows::InstallButtons() {
  // Every button is loaded from its stored settings, as the window that
  // holds it would load it; the placement gives only position and size.
  buttons_ = [](const ButtonPlacement& p, std::function<void()> onClick) -> HWND {
    const size_t dot = p.instance.find('.');
    const auto* stored = buttons::FindButtonInstance(std::string_view(p.instance).substr(0, dot),
                                                     std::string_view(p.instance).substr(dot + 1));
    std::string settings = stored ? std::string(stored->settings) : std::string();
    auto* b = buttons::win::CreateKwButton(p.parent, p.id, p.rect.left, p.rect.top, p.rect.right - p.rect.left,
                                        p.rect.bottom - p.rect.top, settings, std::move(onClick));
    return b ? b->window() : nullptr;
  };
  main_.SetButtonFactory(buttons_);
}

void AppWindows::ShowHelp() { HelpWindow::ShowModal(main_.hwnd(), icon_.get(), buttons_); }

void AppWindows::ShowAbout() { AboutWindow::ShowModal(main_.hwnd(), icon_.get(), buttons_, shell_); }

}  // namespace orv::win
