#pragma once
// The slot rows' own input: the file-name boxes open the Open dialog on a
// double click or F4, take dropped files, and every row has a context menu
// ("Procurar...", "Ouvir", "Parar", "Enviar agora"); in the file-name box the
// menu begins with the usual edit commands.
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

#include "scheduler/form_controls.h"

namespace orv {
class SlotActions;
}

namespace orv::win {


class UniqueMenu {
 public:
  explicit UniqueMenu(HMENU m = nullptr) : m_(m) {}
  ~UniqueMenu() { if (m_) DestroyMenu(m_); }
  UniqueMenu(UniqueMenu&& o) noexcept : m_(o.m_) { o.m_ = nullptr; }
  UniqueMenu& operator=(UniqueMenu&&) = delete;
  UniqueMenu(const UniqueMenu&) = delete;
  UniqueMenu& operator=(const UniqueMenu&) = delete;
  HMENU get() const { return m_; }
 private:
  HMENU m_;
};

class SlotRowMenu {
 public:
  enum Command : UINT {
    kUndo = 1, kCut, kCopy, kPaste, kClear, kSelectAll,
    kBrowse = 20, kListen, kStop, kSendNow,
  };

  SlotRowMenu() = default;
  SlotRowMenu(const SlotRowMenu&) = delete;
  SlotRowMenu& operator=(const SlotRowMenu&) = delete;
  ~SlotRowMenu();

  // Takes over the nine file-name boxes' input.
  void Attach(const std::array<HWND, kSlotCount>& mens);
  void SetActions(SlotActions* actions) { actions_ = actions; }

  // The row's menu; with `edit`, the box's edit commands first, enabled as
  // the box's state allows.
  UniqueMenu Build(int slot, HWND edit);
  void Run(int slot, UINT command, HWND edit);
  // Shows the menu at `screen` (-1, -1: under the box or label `anchor`)
  // and runs the chosen command.
  void Show(int slot, HWND edit, HWND anchor, POINT screen);

  void Browse(int slot);
  void OnDropFiles(HDROP drop, int slot);

 private:
  static LRESULT CALLBACK EditProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  int SlotOf(HWND edit) const;

  std::array<HWND, kSlotCount> mens_{};
  SlotActions* actions_ = nullptr;
};

// The files an HDROP names, in UTF-8.
std::vector<std::string> DroppedFiles(HDROP drop);

}  // namespace orv::win
