#pragma once
// The "Controle pelo rádio" window, reached from the main window's system
// menu: the prefix, the access code and the confirmation message, saved to
// orvalen-controle.txt, with the command table explained. Not modal; closed,
// it is hidden and shown again as it was.
#include <windows.h>

#include <string>

#include "platform/win/base_window.h"
#include "platform/win/dpi.h"
#include "platform/win/scoped.h"
#include "remote/remote_control.h"

namespace orv::win {

struct ControlWindowContext {
  HWND main = nullptr;           // for the dpi and the placement
  HICON icon = nullptr;
  RemoteControl* remote = nullptr;
  FormServices* services = nullptr;
  FormFields* fields = nullptr;
};

class ControlWindow : public BaseWindow {
 public:
  enum Id : int { kIdPrefix = 100, kIdCode, kIdConfirmation, kIdGravar, kIdFechar, kIdState, kIdClips, kIdHelp, kIdSaved };
  explicit ControlWindow(const ControlWindowContext& c);
  // Creates it on the first call; brings it to the front on every call.
  void Show();
  // Its handle for the message loop's dialog keys (nullptr before the first Show).
  HWND handle() const { return hwnd(); }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool Create();
  HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id);
  void Fill();
  void ShowState();
  void Save();

  ControlWindowContext c_;
  Dpi dpi_;
  UniqueFont font_;
};

}  // namespace orv::win
