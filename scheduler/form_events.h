#pragma once
// What the main window's controls report to the scheduler. The window calls
// these after the control has changed (a clicked check box is already
// toggled, a dragged thumb already moved).

#include <string>

namespace orv {

enum class FormButton { Gravar, Ler, Ajuda, Sobre, Sair };

class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void onSlotCheckClicked(int slot) = 0;       // 0-based
  virtual void onModeCheckClicked(int which) = 0;      // 20 "RF  -", 21 "RF + IP"
  virtual void onVolumeChanged() = 0;                  // V4 took a new value
  virtual void onPositionScroll(int value) = 0;        // H1 thumb dragged
  virtual void onButtonClick(FormButton button) = 0;
  // Close box, system menu, Alt+F4, session end. True cancels the close.
  virtual bool onCloseRequest() = 0;
  virtual void onUnload() = 0;
  // The text of the tooltip of slot's file-name box (0-based), when shown.
  virtual std::string slotFileTip(int slot) { return {}; }
  // The session really ends (the system says so after asking): no time for
  // questions, the process may be ended as soon as this returns.
  virtual void onSessionEnd() {}
};

}  // namespace orv
