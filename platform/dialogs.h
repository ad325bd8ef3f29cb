#pragma once
// Modal message boxes. While one is open the message loop runs: timer ticks
// and host events may be handled before show() returns.
#include <string>

namespace orv {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Information, Question, Error };
enum class MsgResult { Ok, Yes, No };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // defaultButton: 0 = first button, 1 = second.
  virtual MsgResult show(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon, int defaultButton = 0) = 0;
};

}  // namespace orv
