#pragma once
// The Agenda window and the "Registro de transmissões" window, reached from
// the main window's system menu. Each is created on first choice, not modal,
// and brought to the front on the next.
#include <windows.h>

#include <functional>
#include <memory>

#include "agenda/agenda.h"
#include "scheduler/form_controls.h"
#include "scheduler/transmission_record.h"

namespace orv::win {

class AgendaWindow;
class RecordWindow;

struct AgendaWindowsContext {
  HWND main = nullptr;                 // for the dpi and the placement
  HICON icon = nullptr;
  Agenda* agenda = nullptr;
  TransmissionRecord* record = nullptr;
  FormControls* controls = nullptr;
  FormServices* services = nullptr;
  FormFields* fields = nullptr;
  std::function<bool(int)> slotArmed;   // 0-based slot
};

class AgendaWindows {
 public:
  explicit AgendaWindows(AgendaWindowsContext context);
  ~AgendaWindows();
  void ShowAgenda();
  void ShowRecord();
  // Their window handles for the message loop's dialog keys (nullptr when closed).
  HWND agendaHwnd() const;
  HWND recordHwnd() const;

 private:
  AgendaWindowsContext c_;
  std::unique_ptr<AgendaWindow> agenda_;
  std::unique_ptr<RecordWindow> record_;
};

}  // namespace orv::win
