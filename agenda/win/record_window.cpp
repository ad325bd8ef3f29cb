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
  list_ = add(WC_LISTVIEWW, L"", WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, 8, 8, 684,
              326, kIdList);
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
  SendMessageW(list_, LVM_SETITEMCOUNT, c_.record->entries().size(), 0);
  ShowCount();
  RECT m;
  GetWindowRect(c_.main, &m);
  SetWindowPos(hwnd(), nullptr, m.left + dpi_.px(60), m.top + dpi_.px(80), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return true;
}

void RecordWindow::Added() {
  // Shown once the sender is done: a record is written inside a send, and
  // Wine takes milliseconds to change a list's length.
  if (!list_ || showing_) return;
  showing_ = PostMessageW(hwnd(), kShowAdded, 0, 0) != 0;
}

void RecordWindow::ShowAdded() {
  showing_ = false;
  // Every row moves down one; only what is on screen is drawn again. Once
  // the record is full its length stays, and so does the list's.
  const auto rows = static_cast<LRESULT>(c_.record->entries().size());
  if (SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) != rows)
    SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOSCROLL);
  InvalidateRect(list_, nullptr, FALSE);
  ShowCount();
}

void RecordWindow::ShowCount() {
  const std::string count = RecordCountText(c_.record->total(), c_.record->entries().size());
  SetDlgItemTextW(hwnd(), kIdCount, Widen(count).c_str());
}

void RecordWindow::CellText(int row, int column, wchar_t* out, int size) {
  const auto& entries = c_.record->entries();
  if (size <= 0) return;
  out[0] = L'\0';
  if (row < 0 || static_cast<std::size_t>(row) >= entries.size()) return;
  const RecordEntry& e = entries[entries.size() - 1 - static_cast<std::size_t>(row)];
  const std::string* cells[] = {nullptr, &e.origin, &e.file, &e.mode, &e.outcome};
  const std::wstring text = Widen(column == 0 ? RecordDateText(e.when) : column < 5 ? *cells[column] : std::string());
  lstrcpynW(out, text.c_str(), size);
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
    case WM_NOTIFY: {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(lp);
      if (info->hdr.idFrom == kIdList && info->hdr.code == LVN_GETDISPINFOW && (info->item.mask & LVIF_TEXT)) {
        CellText(info->item.iItem, info->item.iSubItem, info->item.pszText, info->item.cchTextMax);
        return 0;
      }
      break;
    }
    case kShowAdded:
      ShowAdded();
      return 0;
    case WM_CLOSE:
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

}  // namespace orv::win
