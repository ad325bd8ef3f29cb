#pragma once
// The main window `Form1`: every control as a real child window, laid out at
// 96 dpi and scaled to the screen. Behaviour lives in the core; this class
// only creates controls and turns their notifications into FormEvents.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/base_window.h"
#include "platform/win/button_factory.h"
#include "platform/win/controls.h"
#include "platform/win/dpi.h"
#include "platform/win/dpi_layout.h"
#include "platform/win/scoped.h"
#include "scheduler/form_controls.h"
#include "scheduler/form_events.h"
#include "scheduler/win/clock_label.h"
#include "scheduler/win/slot_row_menu.h"

namespace orv {
class SlotActions;
}

namespace orv::win {

class AnimationControl;
class BannerControl;

class Form1Window : public BaseWindow {
 public:
  Form1Window();
  ~Form1Window() override;

  // Creates the window hidden; Show() centres and shows it.
  bool Create(HICON appIcon);
  void Show();
  void SetEvents(FormEvents* events) { events_ = events; }
  // The program is ending: no more events reach the core.
  void Detach() {
    events_ = nullptr;
    rows_.SetActions(nullptr);
  }
  // What the slot rows' menus, double clicks and drops do.
  void SetSlotActions(SlotActions* actions) { rows_.SetActions(actions); }
  SlotRowMenu& slotRows() { return rows_; }
  // The slot row (0-based) under a point of the client area, or -1.
  int SlotAt(POINT client) const;

  // The controls as the core sees them.
  FormControls& controls() { return controls_; }

  // The owner-drawn buttons replace the plain stand-ins when installed
  // before Create().
  void SetButtonFactory(ButtonFactory f) { buttonFactory_ = std::move(f); }

  HWND control(int id) const { return GetDlgItem(hwnd(), id); }
  HWND fileTips() const { return fileTips_.get(); }

  // A command below the system menu's usual items (call after Create());
  // its index, for ShowSystemMenuItem.
  size_t AddSystemMenuItem(const wchar_t* text, std::function<void()> onChoose);
  // A command that is there only at times ("Retomar envios" while stopped);
  // shown again, it comes last.
  void ShowSystemMenuItem(size_t index, bool shown);

  // Control ids, for tests and automation.
  enum Id : int {
    kIdCheckBase = 1001,   // Check1..9 -> 1001..1009
    kIdMensBase = 1011,    // mens1..9
    kIdContBase = 1021,    // cont1..9
    kIdTempBase = 1031,    // temp1..9
    kIdCheck20 = 1040,
    kIdCheck21 = 1041,
    kIdPtt = 1050,
    kIdShowTime = 1051,
    kIdDtmf = 1052,
    kIdText1 = 1053,
    kIdText2 = 1054,
    kIdText3 = 1055,
    kIdH1 = 1056,
    kIdV4 = 1057,
    kIdVolSet4 = 1058,
    kIdUseSetVol4 = 1059,
    kIdGravar = 1064,      // kwButtons_H4
    kIdLer = 1065,         // kwButtons_H5
    kIdAjuda = 1063,       // kwButtons_H3
    kIdSobre = 1062,       // kwButtons_H2
    kIdSair = 1061,        // kwButtons_H1
  };

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id, HFONT font,
           DWORD exStyle = 0);
  void CreateControls();
  void CreateButtons();
  HFONT Font(const wchar_t* face, double points, bool bold);
  // The banner picture and the title-bar icons, taken from the icon's
  // resource at the sizes of the current dpi.
  void UpdateIcons();
  // VolSet4 is too narrow for "-1404" inside the margins a new font brings.
  void NarrowMargins();
  // Each slot's file-name box tells what the program knows of its file.
  void CreateFileTips();
  void OnFileTip(NMTTDISPINFOW* info);
  void AddVolumeTip();
  void OnScroll(HWND bar, int code);
  void OnButton(FormButton b);

  FormEvents* events_ = nullptr;
  DpiLayout layout_;
  FormControls controls_;
  ButtonFactory buttonFactory_;
  ClickRouter clicks_;
  SlotRowMenu rows_;
  UniqueWindow volumeTip_;

  std::array<WinCheck, kSlotCount> check_;
  std::array<WinText, kSlotCount> mens_, cont_;
  std::array<WinLabel, kSlotCount> temp_;
  WinCheck check20_, check21_, useSetVol4_;
  WinLabel ptt_;
  ClockLabel showTime_;
  WinText dtmf_, text1_, text2_, text3_, volSet4_;
  WinScrollBar h1_, v4_;
  WinCaption caption_;

  HICON appIcon_ = nullptr;
  UniqueIcon bannerIcon_, smallIcon_, bigIcon_;
  HWND label6_ = nullptr;
  std::unique_ptr<BannerControl> banner_;
  std::unique_ptr<AnimationControl> animLeft_, animRight_;
  bool shown_ = false;
  std::vector<std::function<void()>> systemMenuItems_;
  std::vector<std::wstring> systemMenuTexts_;
  UniqueWindow fileTips_;
  std::wstring fileTipText_;
};

}  // namespace orv::win
