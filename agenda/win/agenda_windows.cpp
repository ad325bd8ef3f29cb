#include "agenda/win/agenda_windows.h"

#include "agenda/win/agenda_window.h"
#include "agenda/win/record_window.h"

namespace orv::win {

namespace {

void Front(HWND w) {
  if (IsIconic(w)) ShowWindow(w, SW_RESTORE);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  BringWindowToTop(w);
}

}  // namespace

AgendaWindows::AgendaWindows(AgendaWindowsContext context) : c_(std::move(context)) {
  // A new record is one more row, whatever the window shows. The plan is
  // not rebuilt here, inside a send, but by the Agenda window's minute.
  if (c_.record) c_.record->subscribe([this] {
      if (record_) record_->Added();
    });
}

AgendaWindows::~AgendaWindows() = default;

void AgendaWindows::ShowAgenda() {
  if (!agenda_) {
    auto w = std::make_unique<AgendaWindow>(c_);
    if (!w->Create()) return;
    agenda_ = std::move(w);
  } else {
    agenda_->RefreshPlan();
  }
  Front(agenda_->hwnd());
}

void AgendaWindows::ShowRecord() {
  if (!record_) {
    auto w = std::make_unique<RecordWindow>(c_);
    if (!w->Create()) return;
    record_ = std::move(w);
  }
  Front(record_->hwnd());
}

HWND AgendaWindows::agendaHwnd() const { return agenda_ ? agenda_->hwnd() : nullptr; }
HWND AgendaWindows::recordHwnd() const { return record_ ? record_->hwnd() : nullptr; }

}  // namespace orv::win
