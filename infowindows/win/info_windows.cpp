#include "infowindows/win/info_windows.h"

#include <shellapi.h>

#include <memory>

#include "buttons/win/kw_button_control.h"
#include "infowindows/info_texts.h"
#include "platform/win/decor.h"
#include "platform/win/text.h"

namespace orv::win {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
}

bool ModalWindow::Create(const wchar_t* className, const char* title, int designWidth, int designHeight,
                         HWND owner, HICON icon) {
  design_ = SIZE{designWidth, designHeight};
  layout_.Rescale(Dpi::ForSystem());
  if (!CreateTopLevel(className, Widen(title).c_str(), kStyle, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                      layout_.px(designWidth), layout_.px(designHeight), owner, icon))
    return false;
  layout_.Rescale(Dpi::ForWindow(hwnd()));
  SetClientSize(hwnd(), layout_.px(designWidth), layout_.px(designHeight));
  return true;
}

HFONT ModalWindow::Font(const wchar_t* face, double points, bool bold) {
  return layout_.Font(FontSpec{face, points, bold});
}

HWND ModalWindow::Add(const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y, int w, int h,
                      HFONT font) {
  HWND c = CreateWindowExW(0, cls, text.c_str(), style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  return layout_.Place(c, x, y, w, h, font);
}

void ModalWindow::AddButton(const ButtonFactory& factory, int id, int x, int y, int w, int h, const char* instance,
                            const char* caption, std::function<void()> onClick) {
  ButtonPlacement p;
  p.parent = hwnd();
  p.id = id;
  p.rect = RECT{layout_.px(x), layout_.px(y), layout_.px(x + w), layout_.px(y + h)};
  p.instance = instance;
  p.caption = caption;
  if (factory) {
    layout_.Place(factory(p, std::move(onClick)), x, y, w, h);
  } else {
    HFONT font = Font(L"Times New Roman", 12, true);
    layout_.Place(CreatePlainButton(p, font), x, y, w, h, font);
    clicks_.Add(id, std::move(onClick));
  }
}

void ModalWindow::RunModal(HWND owner) {
  CenterOnScreen(hwnd());
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  open_ = true;
  MSG msg;
  bool quit = false;
  while (open_) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      break;
    }
    if (buttons::win::KwButtonPreTranslate(msg)) continue;
    if (!IsDialogMessageW(hwnd(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  // The owner comes back before this window goes, so the focus returns to it.
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  ShowWindow(hwnd(), SW_HIDE);
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
}

LRESULT ModalWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (clicks_.Route(wp)) return 0;
      if (LOWORD(wp) == IDCANCEL) {
        Close();
        return 0;
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DPICHANGED:
      ApplyDpiChange(hwnd(), layout_, wp, lp, design_.cx, design_.cy);
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

void HelpWindow::ShowModal(HWND owner, HICON icon, const ButtonFactory& buttons) {
  HelpWindow w;
  if (!w.Create(L"OrvalenAjuda", info::kHelpTitle, 319, 274, owner, icon)) return;
  w.Add(L"STATIC", Widen(info::kProgramTitle), SS_CENTER, 56, 8, 201, 49, w.Font(L"Times New Roman", 27.75, true));
  HWND text = w.Add(L"EDIT", Widen(info::HelpText()), ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER, 16, 64,
                    281, 129, w.Font(L"MS Sans Serif", 9.75, true));
  SetWindowLongPtrW(text, GWLP_ID, kIdText);
  w.AddButton(buttons, kIdRetornar, 200, 200, 97, 65, "Ajuda.kwButtons_H1", info::kReturnCaption, [&w] { w.Close(); });
  w.RunModal(owner);
}

void AboutWindow::ShowModal(HWND owner, HICON icon, const ButtonFactory& buttons, Shell& shell) {
  AboutWindow w;
  if (!w.Create(L"OrvalenSobre", info::kAboutTitle, 315, 387, owner, icon)) return;
  AnimationControl anim;
  anim.Create(w.hwnd(), 0, 0, 0, 0, 0, GetSysColor(COLOR_BTNFACE));
  w.layout_.Place(anim.hwnd(), 8, 0, 65, 73);
  HFONT normal = w.Font(L"MS Sans Serif", 8.25, false);
  w.Add(L"STATIC", Widen(info::kProgramTitle), SS_LEFT, 88, 8, 209, 41, w.Font(L"Times New Roman", 26.25, true));
  w.Add(L"STATIC", Widen(info::kVersionText), SS_LEFT, 96, 56, 201, 25, w.Font(L"MS Sans Serif", 8.25, true));
  w.Add(L"STATIC", L"", SS_ETCHEDHORZ, 8, 80, 296, 2, nullptr);
  w.Add(L"STATIC", Widen(info::kCredits[0]), SS_CENTER, 8, 88, 297, 25, normal);
  w.Add(L"STATIC", Widen(info::kCredits[1]), SS_CENTER, 24, 104, 273, 33, normal);
  w.Add(L"STATIC", Widen(info::kCredits[2]), SS_CENTER, 96, 128, 97, 41, normal);
  w.Add(L"STATIC", Widen(info::kCredits[3]), SS_CENTER, 72, 168, 153, 33, normal);
  w.Add(L"STATIC", L"", SS_ETCHEDHORZ, 8, 208, 296, 2, nullptr);
  w.Add(L"STATIC", Widen(info::ContributionNote()), SS_LEFT, 8, 216, 297, 65, normal);
  w.Add(L"STATIC", L"", SS_ETCHEDHORZ, 8, 288, 296, 2, nullptr);
  HWND self = w.hwnd();
  w.AddButton(buttons, kIdVisit, 16, 296, 169, 81, "sobre.kwButtons_H2", info::kVisitCaption, [&shell, self] {
    ShellRequest r;
    r.parentWindow = self;
    r.verb = "open";
    r.file = info::kMakerWebPage;
    r.showCommand = SW_SHOWNORMAL;
    shell.execute(r);  // nothing is reported either way
  });
  w.AddButton(buttons, kIdRetornar, 208, 296, 97, 81, "sobre.kwButtons_H1", info::kReturnCaption, [&w] { w.Close(); });
  w.RunModal(owner);
}

bool WinShell::execute(const ShellRequest& r) {
  auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(static_cast<HWND>(const_cast<void*>(r.parentWindow)),
                                                        r.verb.c_str(), r.file.c_str(), r.parameters.c_str(),
                                                        r.directory.c_str(), r.showCommand));
  return result > 32;
}

}  // namespace orv::win
