#include "remote/win/control_window.h"

#include "announce/time_clips.h"
#include "platform/win/text.h"
#include "remote/control_texts.h"
#include "scheduler/message_path.h"

namespace orv::win {

namespace {

constexpr int kClientW = 540, kClientH = 416;

std::string BoxText(HWND w) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
  return Narrow(s);
}

}  // namespace

ControlWindow::ControlWindow(const ControlWindowContext& c) : c_(c) {
  // The stop may come from the radio while the window is open.
  if (c_.remote) c_.remote->subscribe([this] {
      if (hwnd()) ShowState();
    });
}

void ControlWindow::Show() {
  if (!hwnd() && !Create()) return;
  if (IsIconic(hwnd())) ShowWindow(hwnd(), SW_RESTORE);
  if (!IsWindowVisible(hwnd())) Fill();
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  BringWindowToTop(hwnd());
}

HWND ControlWindow::Add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id) {
  HWND c = CreateWindowExW(0, cls, text, style | WS_CHILD | WS_VISIBLE, dpi_.px(x), dpi_.px(y), dpi_.px(w), dpi_.px(h),
                           hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  return c;
}

bool ControlWindow::Create() {
  dpi_ = Dpi::ForWindow(c_.main);
  font_ = UniqueFont(CreateScaledFont({L"MS Sans Serif", 8, false}, dpi_));
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!CreateTopLevel(L"OrvalenControle", Widen(kControlWindowTitle).c_str(), style, 0, dpi_.px(kClientW),
                      dpi_.px(kClientH), nullptr, c_.icon))
    return false;

  Add(L"STATIC", L"Prefixo", 0, 12, 15, 50, 16, -1);
  HWND prefix = Add(L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 66, 11, 50, 120, kIdPrefix);
  for (const wchar_t* letter : {L"A", L"B", L"C", L"D"})
    SendMessageW(prefix, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(letter));
  Add(L"STATIC", L"C\u00f3digo de acesso", 0, 136, 15, 100, 16, -1);
  HWND code = Add(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_UPPERCASE, 240, 11, 90, 22, kIdCode);
  SendMessageW(code, EM_SETLIMITTEXT, kCodeLongest, 0);
  Add(L"STATIC", L"Confirma\u00e7\u00e3o", 0, 12, 47, 70, 16, -1);
  Add(L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 86, 43, 244, 22, kIdConfirmation);
  Add(L"BUTTON", L"Gravar", WS_TABSTOP | BS_DEFPUSHBUTTON, 430, 10, 98, 26, kIdGravar);
  Add(L"BUTTON", L"Fechar", WS_TABSTOP | BS_PUSHBUTTON, 430, 42, 98, 26, kIdFechar);
  Add(L"STATIC", L"", 0, 336, 47, 90, 16, kIdSaved);
  Add(L"STATIC", L"", SS_LEFT, 12, 78, 516, 46, kIdState);
  Add(L"STATIC", L"", SS_LEFT, 12, 128, 516, 32, kIdClips);
  HWND help = Add(L"EDIT", L"", WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 12, 164, 516, 240, kIdHelp);
  // Wide enough for "1N" and a space, in dialog units.
  const int stops = 20;
  SendMessageW(help, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stops));
  SetWindowTextW(help, Widen(CommandHelpText()).c_str());

  RECT m;
  GetWindowRect(c_.main, &m);
  SetWindowPos(hwnd(), nullptr, m.left + dpi_.px(60), m.top + dpi_.px(60), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Fill();
  return true;
}

void ControlWindow::Fill() {
  const ControlSettings& s = c_.remote->file().settings;
  SendDlgItemMessageW(hwnd(), kIdPrefix, CB_SETCURSEL, s.prefix ? s.prefix - 'A' : 3, 0);
  SetDlgItemTextW(hwnd(), kIdCode, Widen(s.code).c_str());
  SetDlgItemTextW(hwnd(), kIdConfirmation, Widen(s.confirmation).c_str());
  SetDlgItemTextW(hwnd(), kIdSaved, L"");
  // The folder is looked at when the window is shown, not on every change.
  const std::string folder = c_.fields->caminho + kClipFolderName + "\\";
  FileSystem& files = *c_.services->files;
  SetDlgItemTextW(hwnd(), kIdClips,
                  Widen(ClipFolderText(MissingClips([&files](const std::string& p) { return files.exists(p); }, folder)))
                      .c_str());
  ShowState();
}

void ControlWindow::ShowState() {
  SetDlgItemTextW(hwnd(), kIdState, Widen(ControlStateText(c_.remote->file(), c_.remote->stopped())).c_str());
}

void ControlWindow::Save() {
  const int chosen = static_cast<int>(SendDlgItemMessageW(hwnd(), kIdPrefix, CB_GETCURSEL, 0, 0));
  const std::string prefix = chosen >= 0 && chosen < 4 ? std::string(1, static_cast<char>('A' + chosen)) : "";
  const TypedSettings typed = ReadTypedSettings(prefix, BoxText(GetDlgItem(hwnd(), kIdCode)),
                                                BoxText(GetDlgItem(hwnd(), kIdConfirmation)));
  Dialogs& dialogs = *c_.services->dialogs;
  if (!typed.settings) {
    dialogs.show(typed.problem, kControlWindowTitle, MsgButtons::Ok, MsgIcon::Error, 0);
    return;
  }
  const std::string& confirmation = typed.settings->confirmation;
  if (!confirmation.empty() && !c_.services->files->exists(MessagePath(c_.fields->caminho, confirmation)))
    dialogs.show("O arquivo " + confirmation + " n\xC3\xA3o existe. A confirma\xC3\xA7\xC3\xA3o fica gravada, mas "
                 "n\xC3\xA3o ser\xC3\xA1 enviada enquanto ele faltar.",
                 kControlWindowTitle, MsgButtons::Ok, MsgIcon::Information, 0);
  if (const std::string error = c_.remote->save(*typed.settings); !error.empty()) {
    dialogs.show(error, kControlWindowTitle, MsgButtons::Ok, MsgIcon::Error, 0);
    return;
  }
  SetDlgItemTextW(hwnd(), kIdSaved, L"Gravado.");
  ShowState();
}

LRESULT ControlWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case kIdGravar: Save(); return 0;
          case kIdFechar:
          case IDCANCEL: ShowWindow(hwnd(), SW_HIDE); return 0;
        }
      }
      if (HIWORD(wp) == EN_CHANGE || HIWORD(wp) == CBN_SELCHANGE) SetDlgItemTextW(hwnd(), kIdSaved, L"");
      break;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      // The command table reads as a page, not as a disabled box.
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kIdHelp) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kIdState && c_.remote->stopped()) SetTextColor(dc, RGB(192, 0, 0));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

}  // namespace orv::win
