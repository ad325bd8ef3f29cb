#pragma once
// The Help window `Ajuda` and the About window `sobre`. Each is created on
// demand, shown modally (the main window takes no input, its timers and the
// host's events go on), and destroyed when closed.
#include <windows.h>

#include <vector>

#include "platform/shell.h"
#include "platform/win/base_window.h"
#include "platform/win/button_factory.h"
#include "platform/win/dpi_layout.h"
#include "platform/win/scoped.h"

namespace orv::win {

class ModalWindow : public BaseWindow {
 protected:
  // Creates the window with a client area of the design size (96 dpi)
  // scaled to the dpi of the monitor it opens on.
  bool Create(const wchar_t* className, const char* title, int designWidth, int designHeight, HWND owner,
              HICON icon);
  // Runs until Close(); re-posts WM_QUIT if the program ends meanwhile.
  void RunModal(HWND owner);
  void Close() { open_ = false; }
  HFONT Font(const wchar_t* face, double points, bool bold);
  HWND Add(const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y, int w, int h, HFONT font);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void AddButton(const ButtonFactory& factory, int id, int x, int y, int w, int h, const char* instance,
                 const char* caption, std::function<void()> onClick);

  DpiLayout layout_;
  ClickRouter clicks_;
  SIZE design_{};
  bool open_ = false;
};

class HelpWindow : public ModalWindow {
 public:
  static constexpr int kIdText = 10, kIdRetornar = 11;
  // Shows the window modally and returns when it is closed.
  static void ShowModal(HWND owner, HICON icon, const ButtonFactory& buttons);
};

class AboutWindow : public ModalWindow {
 public:
  static constexpr int kIdRetornar = 11, kIdVisit = 12;
  static void ShowModal(HWND owner, HICON icon, const ButtonFactory& buttons, Shell& shell);
};

// ShellExecuteA with the request's arguments.
class WinShell : public Shell {
 public:
  bool execute(const ShellRequest& r) override;
};

}  // namespace orv::win
