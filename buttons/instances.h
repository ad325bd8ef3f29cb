#pragma once
// The stored settings of the program's eight buttons, in the property bag's
// text form (property_bag.h). Windows create their buttons by loading these.
#include <span>
#include <string_view>

namespace orv::buttons {

struct ButtonInstance {
  std::string_view window;  // "Form1", "Ajuda", "sobre"
  std::string_view name;    // "kwButtons_H4"
  int width;                // pixels at 96 dpi
  int height;
  std::string_view settings;
};

std::span<const ButtonInstance> ButtonInstances();
// nullptr when the window has no such button.
const ButtonInstance* FindButtonInstance(std::string_view window, std::string_view name);

}  // namespace orv::buttons
