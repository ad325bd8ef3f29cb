#include "platform/win/controls.h"

#include "platform/win/text.h"

namespace orv::win {

std::string WinText::text() const {
  int n = GetWindowTextLengthW(w_);
  if (n <= 0) return {};
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(w_, buf.data(), n + 1);
  return Narrow(buf.data(), n);
}

void WinText::setText(const std::string& text) {
  // The idle program rewrites the same texts every second ("PTT OFF"); an
  // unchanged text is not set again, so nothing repaints for nothing.
  std::wstring wide = Widen(text);
  const int n = GetWindowTextLengthW(w_);
  if (n == static_cast<int>(wide.size())) {
    std::wstring current(static_cast<size_t>(n) + 1, L'\0');
    GetWindowTextW(w_, current.data(), n + 1);
    current.resize(static_cast<size_t>(n));
    if (current == wide) return;
  }
  SetWindowTextW(w_, wide.c_str());
}

void WinLabel::setTextColor(OleColor c) {
  if (c == color_) return;
  color_ = c;
  InvalidateRect(text_.hwnd(), nullptr, TRUE);
}

int WinCheck::value() const { return SendMessageW(w_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0; }
void WinCheck::setValue(int v) { SendMessageW(w_, BM_SETCHECK, v == 1 ? BST_CHECKED : BST_UNCHECKED, 0); }

int WinScrollBar::value() const {
  SCROLLINFO si{sizeof si, SIF_POS};
  GetScrollInfo(w_, SB_CTL, &si);
  return si.nPos;
}
void WinScrollBar::setValue(int v) {
  SCROLLINFO si{sizeof si, SIF_POS};
  si.nPos = v;
  SetScrollInfo(w_, SB_CTL, &si, TRUE);
}
int WinScrollBar::minimum() const {
  SCROLLINFO si{sizeof si, SIF_RANGE};
  GetScrollInfo(w_, SB_CTL, &si);
  return si.nMin;
}
int WinScrollBar::maximum() const {
  SCROLLINFO si{sizeof si, SIF_RANGE};
  GetScrollInfo(w_, SB_CTL, &si);
  return si.nMax;
}
void WinScrollBar::setRange(int mn, int mx) {
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_DISABLENOSCROLL};
  si.nMin = mn;
  si.nMax = mx;
  SetScrollInfo(w_, SB_CTL, &si, TRUE);
}

}  // namespace orv::win
