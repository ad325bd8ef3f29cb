#pragma once
// "Registro de transmissões": the session's record, newest first, and a
// button that copies it to the clipboard as tab-separated lines. The list
// holds no text of its own: it asks the record for the rows it shows, so a
// new entry costs one row however long the session has run.
#include <windows.h>

#include <string>

#include "agenda/win/agenda_windows.h"
#include "platform/win/base_window.h"
#include "platform/win/dpi.h"
#include "platform/win/scoped.h"

namespace orv::win {

class RecordWindow : public BaseWindow {
 public:
  enum Id : int { kIdList = 100, kIdCopiar, kIdCount };
  explicit RecordWindow(const AgendaWindowsContext& c) : c_(c) {}
  bool Create();
  // A new entry came: one more row on top, shown from the message loop.
  void Added();
  // The whole record as the clipboard receives it, newest first.
  std::string ClipboardText() const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static constexpr UINT kShowAdded = WM_APP + 1;
  void ShowAdded();
  void Copy();
  void ShowCount();
  void CellText(int row, int column, wchar_t* out, int size);

  AgendaWindowsContext c_;
  Dpi dpi_;
  UniqueFont font_;
  HWND list_ = nullptr;
  bool showing_ = false;   // a kShowAdded is on its way
};

}  // namespace orv::win
