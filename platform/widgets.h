#pragma once
// The few things the core needs from a window's controls. The Win32 layer
// implements them over real child windows (the window text is the content);
// tests implement them with plain fields.
#include <cstdint>
#include <string>

namespace orv {

// 0x00BBGGRR, or a system colour with the top bit set (0x8000000F button face).
using OleColor = std::uint32_t;
constexpr OleColor Rgb(int r, int g, int b) {
  return static_cast<OleColor>(r) | (static_cast<OleColor>(g) << 8) | (static_cast<OleColor>(b) << 16);
}

// Text boxes, labels and the window caption. Text is UTF-8.
class TextWidget {
 public:
  virtual ~TextWidget() = default;
  virtual std::string text() const = 0;
  virtual void setText(const std::string& text) = 0;
};

// A label whose text colour the program changes (the PTT indicator).
class ColoredLabel : public TextWidget {
 public:
  virtual void setTextColor(OleColor color) = 0;
  virtual OleColor textColor() const = 0;
};

// Check boxes hold 0 (clear) or 1 (ticked). setValue never raises the
// control's change handling: the owner of the box decides what a change does.
class CheckWidget {
 public:
  virtual ~CheckWidget() = default;
  virtual int value() const = 0;
  virtual void setValue(int value) = 0;
};

// Scroll bars (position and volume bars).
class BarWidget {
 public:
  virtual ~BarWidget() = default;
  virtual int value() const = 0;
  virtual void setValue(int value) = 0;
  virtual int minimum() const = 0;
  virtual int maximum() const = 0;
  virtual void setRange(int minimum, int maximum) = 0;
};

class EnableWidget {
 public:
  virtual ~EnableWidget() = default;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool enabled) = 0;
};

}  // namespace orv
