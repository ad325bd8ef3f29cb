#include "scheduler/win/slot_row_menu.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "platform/win/text.h"
#include "scheduler/slot_actions.h"

namespace orv::win {

namespace {

constexpr UINT_PTR kSubclassId = 0x4F52;  // one subclass per box, ours

void Item(HMENU m, UINT id, const wchar_t* text, bool enabled = true) {
  AppendMenuW(m, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text);
}

}  // namespace

SlotRowMenu::~SlotRowMenu() {
  for (HWND e : mens_)
    if (e && IsWindow(e)) RemoveWindowSubclass(e, EditProc, kSubclassId);
}

void SlotRowMenu::Attach(const std::array<HWND, kSlotCount>& mens) {
  mens_ = mens;
  for (HWND e : mens_) SetWindowSubclass(e, EditProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

int SlotRowMenu::SlotOf(HWND edit) const {
  for (int i = 0; i < kSlotCount; ++i)
    if (mens_[i] == edit) return i;
  return -1;
}

UniqueMenu SlotRowMenu::Build(int slot, HWND edit) {
  UniqueMenu menu(CreatePopupMenu());
  HMENU m = menu.get();
  if (edit) {
    DWORD from = 0, to = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    const bool selection = to > from;
    const int length = GetWindowTextLengthW(edit);
    Item(m, kUndo, L"&Desfazer", SendMessageW(edit, EM_CANUNDO, 0, 0) != 0);
    AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    Item(m, kCut, L"Recor&tar", selection);
    Item(m, kCopy, L"&Copiar", selection);
    Item(m, kPaste, L"C&olar", IsClipboardFormatAvailable(CF_UNICODETEXT) != 0);
    Item(m, kClear, L"&Excluir", selection);
    AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
    Item(m, kSelectAll, L"Selecionar &tudo", length > 0 && !(from == 0 && static_cast<int>(to) == length));
    AppendMenuW(m, MF_SEPARATOR, 0, nullptr);
  }
  const bool named = mens_[slot] && GetWindowTextLengthW(mens_[slot]) > 0;
  const bool listening = actions_ && actions_->listening();
  Item(m, kBrowse, L"&Procurar...", actions_ != nullptr);
  Item(m, kListen, L"O&uvir", actions_ && (named || listening));
  Item(m, kStop, L"P&arar", listening);
  Item(m, kSendNow, L"E&nviar agora", actions_ && named);
  return menu;
}

void SlotRowMenu::Run(int slot, UINT command, HWND edit) {
  switch (command) {
    case kUndo: SendMessageW(edit, EM_UNDO, 0, 0); return;
    case kCut: SendMessageW(edit, WM_CUT, 0, 0); return;
    case kCopy: SendMessageW(edit, WM_COPY, 0, 0); return;
    case kPaste: SendMessageW(edit, WM_PASTE, 0, 0); return;
    case kClear: SendMessageW(edit, WM_CLEAR, 0, 0); return;
    case kSelectAll: SendMessageW(edit, EM_SETSEL, 0, -1); return;
  }
  if (!actions_) return;
  switch (command) {
    case kBrowse: actions_->browse(slot); break;
    case kListen: actions_->listen(slot); break;
    case kStop: actions_->stopListening(); break;
    case kSendNow: actions_->sendNow(slot); break;
  }
}

void SlotRowMenu::Show(int slot, HWND edit, HWND anchor, POINT screen) {
  if (slot < 0 || slot >= kSlotCount) return;
  if (screen.x == -1 && screen.y == -1) {
    // From the keyboard (Shift+F10, the menu key): under the control.
    RECT r{};
    GetWindowRect(anchor ? anchor : mens_[slot], &r);
    screen = POINT{r.left, r.bottom};
  }
  UniqueMenu menu = Build(slot, edit);
  HWND owner = GetParent(mens_[slot]);
  if (edit) SetFocus(edit);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                       screen.x, screen.y, 0, owner, nullptr));
  if (chosen) Run(slot, chosen, edit);
}

void SlotRowMenu::Browse(int slot) {
  if (actions_ && slot >= 0) actions_->browse(slot);
}

void SlotRowMenu::OnDropFiles(HDROP drop, int slot) {
  const std::vector<std::string> files = DroppedFiles(drop);
  DragFinish(drop);
  if (actions_ && slot >= 0) actions_->filesDropped(slot, files);
}

std::vector<std::string> DroppedFiles(HDROP drop) {
  std::vector<std::string> out;
  const UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < n; ++i) {
    std::wstring name(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    const UINT got = DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size()));
    name.resize(got);
    out.push_back(Narrow(name));
  }
  return out;
}

LRESULT CALLBACK SlotRowMenu::EditProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto* me = reinterpret_cast<SlotRowMenu*>(self);
  const int slot = me->SlotOf(w);
  switch (msg) {
    case WM_LBUTTONDBLCLK:
      me->Browse(slot);
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_F4) {
        me->Browse(slot);
        return 0;
      }
      break;
    case WM_CONTEXTMENU:
      me->Show(slot, w, w, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, EditProc, kSubclassId);
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace orv::win
