#pragma once
// The core's widget interfaces over real child controls: the window text is
// the content, so screen readers and automation read what the program shows.
#include <windows.h>

#include <string>

#include "platform/widgets.h"

namespace orv::win {

class WinText : public TextWidget {
 public:
  explicit WinText(HWND w = nullptr) : w_(w) {}
  void attach(HWND w) { w_ = w; }
  HWND hwnd() const { return w_; }
  std::string text() const override;
  void setText(const std::string& text) override;
 private:
  HWND w_;
};

// A STATIC whose text colour the parent applies in WM_CTLCOLORSTATIC.
class WinLabel : public ColoredLabel {
 public:
  explicit WinLabel(HWND w = nullptr, COLORREF color = CLR_INVALID) : text_(w), color_(color) {}
  void attach(HWND w) { text_.attach(w); }
  HWND hwnd() const { return text_.hwnd(); }
  std::string text() const override { return text_.text(); }
  void setText(const std::string& t) override { text_.setText(t); }
  void setTextColor(OleColor c) override;
  OleColor textColor() const override { return color_; }
  // CLR_INVALID: the system's text colour.
  COLORREF colorref() const { return color_; }
 private:
  WinText text_;
  COLORREF color_;
};

class WinCheck : public CheckWidget {
 public:
  explicit WinCheck(HWND w = nullptr) : w_(w) {}
  void attach(HWND w) { w_ = w; }
  HWND hwnd() const { return w_; }
  int value() const override;
  void setValue(int v) override;
 private:
  HWND w_;
};

class WinScrollBar : public BarWidget {
 public:
  explicit WinScrollBar(HWND w = nullptr) : w_(w) {}
  void attach(HWND w) { w_ = w; }
  HWND hwnd() const { return w_; }
  int value() const override;
  void setValue(int v) override;
  int minimum() const override;
  int maximum() const override;
  void setRange(int mn, int mx) override;
 private:
  HWND w_;
};

// A window's title bar.
class WinCaption : public TextWidget {
 public:
  explicit WinCaption(HWND w = nullptr) : text_(w) {}
  void attach(HWND w) { text_.attach(w); }
  std::string text() const override { return text_.text(); }
  void setText(const std::string& t) override { text_.setText(t); }
 private:
  WinText text_;
};

}  // namespace orv::win
