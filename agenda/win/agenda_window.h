#pragma once
// The Agenda window: the entries in a list view, boxes to add and change
// one, the check that each file exists, saving, and the 24-hour timeline.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "agenda/win/agenda_windows.h"
#include "agenda/win/timeline_control.h"
#include "platform/win/base_window.h"
#include "platform/win/dpi.h"
#include "platform/win/scoped.h"

namespace orv::win {

class AgendaWindow : public BaseWindow {
 public:
  enum Id : int { kIdList = 100, kIdHora, kIdDias, kIdArquivo, kIdLigada, kIdAdicionar, kIdAlterar, kIdRemover,
                  kIdGravar, kIdTimeline, kIdHover, kIdState };
  explicit AgendaWindow(const AgendaWindowsContext& c) : c_(c) {}
  bool Create();
  // Redraws the timeline from the slots and the entries as they are now.
  void RefreshPlan();

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id, DWORD ex = 0);
  void Fill();
  void OnSelect();
  std::optional<AgendaEntry> EntryFromBoxes();
  void AddEntry();
  void ChangeEntry();
  void RemoveEntry();
  void Save();
  void ShowState();
  int SelectedLine() const;
  bool FileExists(const std::string& name);
  std::optional<double> Length(std::map<std::string, std::optional<double>>& known, const std::string& name);

  AgendaWindowsContext c_;
  Dpi dpi_;
  UniqueFont font_;
  HWND list_ = nullptr;
  TimelineControl timeline_;
  AgendaFile edited_;
  bool dirty_ = false;
};

}  // namespace orv::win
