#include "agenda/win/record_window.h"

#include <commctrl.h>

#include "platform/win/text.h"

namespace orv::win {

namespace {

constexpr int kClientW = 700, kClientH = 380;

}  // namespace

bool RecordWindow::Create() {
  dpi_ = Dpi::ForWindow(c_.main);
  font_ = UniqueFont(CreateScaledFont({L"MS Sans Serif", 8, false}, dpi_));
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!CreateTopLevel(L"OrvalenRecord", L"Registro de transmiss\u00f5es", style, 0, dpi_.px(kClientW),
                      dpi_.px(kClientH), nullptr, c_.icon))
    return false;
  auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD st, int x, int y, int w, int h, int id) {
    HWND c = CreateWindowExW(0, cls, text, st | WS_CHILD | WS_VISIBLE, dpi_.px(x), dpi_.px(y), dpi_.px(w), dpi_.px(h),
                             hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                             nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return c;
  };
  list_ = add(WC_LISTVIEWW, L"", WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, 8, 8, 684, 326, kIdList);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const struct { const wchar_t* name; int width; } columns[] = {
      {L"Data e hora", 124}, {L"Origem", 70}, {L"Arquivo", 170}, {L"Modo", 50}, {L"Resultado", 250}};
  for (int i = 0; i < 5; ++i) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = dpi_.px(columns[i].width);
    col.pszText = const_cast<wchar_t*>(columns[i].name);
    SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }
  add(L"BUTTON", L"Copiar", WS_TABSTOP | BS_PUSHBUTTON, 8, 344, 90, 26, kIdCopiar);
  add(L"STATIC", L"", 0, 110, 350, 580, 18, kIdCount);
  Fill();
  RECT m;
  GetWindowRect(c_.main, &m);
  SetWindowPos(hwnd(), nullptr, m.left + dpi_.px(60), m.top + dpi_.px(80), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return true;
}

void RecordWindow::Fill() {
  if (!list_) return;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  const auto& entries = c_.record->entries();
  int row = 0;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it, ++row) {
    const std::string cells[] = {RecordDateText(it->when), it->origin, it->file, it->mode, it->outcome};
    for (int col = 0; col < 5; ++col) {
      std::wstring w = Widen(cells[col]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = row;
      item.iSubItem = col;
      item.pszText = w.data();
      SendMessageW(list_, col == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  const std::string count = entries.empty() ? "Nada enviado nem tentado nesta sess\xC3\xA3o ainda."
                                            : std::to_string(entries.size()) + (entries.size() == 1 ? " registro" : " registros") +
                                                  " nesta sess\xC3\xA3o, o mais novo em cima.";
  SetDlgItemTextW(hwnd(), kIdCount, Widen(count).c_str());
}

std::string RecordWindow::ClipboardText() const {
  std::string text;
  const auto& entries = c_.record->entries();
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) text += RecordLine(*it) + "\r\n";
  return text;
}

void RecordWindow::Copy() {
  const std::wstring w = Widen(ClipboardText());
  if (!OpenClipboard(hwnd())) return;
  EmptyClipboard();
  const size_t bytes = (w.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* p = GlobalLock(mem)) {
      memcpy(p, w.c_str(), bytes);
      GlobalUnlock(mem);
      // The clipboard owns the memory once it takes it.
      if (!SetClipboardData(CF_UNICODETEXT, mem)) GlobalFree(mem);
    } else {
      GlobalFree(mem);
    }
  }
  CloseClipboard();
}

LRESULT RecordWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == kIdCopiar && HIWORD(wp) == BN_CLICKED) {
        Copy();
        return 0;
      }
      break;
    case WM_CLOSE:
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

}  // namespace orv::win
