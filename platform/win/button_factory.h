#pragma once
// How windows make their push buttons. The program's own owner-drawn button
// is installed by the app; the plain system button stands in elsewhere.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orv::win {

struct ButtonPlacement {
  HWND parent = nullptr;
  int id = 0;
  RECT rect{};               // in the parent's client pixels
  std::string instance;      // "Form1.kwButtons_H4": names the stored settings
  std::string caption;
};

// Returns the button's window. The factory calls onClick for every click;
// a plain button instead notifies its parent, which calls it (ClickRouter).
using ButtonFactory = std::function<HWND(const ButtonPlacement&, std::function<void()> onClick)>;

HWND CreatePlainButton(const ButtonPlacement& p, HFONT font);

// Parent-side dispatch of BN_CLICKED for plain buttons.
class ClickRouter {
 public:
  void Add(int id, std::function<void()> onClick);
  bool Route(WPARAM wp);  // true when the command was a routed click
 private:
  struct Entry { int id; std::function<void()> onClick; };
  std::vector<Entry> entries_;
};

}  // namespace orv::win
