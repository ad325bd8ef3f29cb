#pragma once
// What a kwButtons_H button tells screen readers and automation tools: its
// role, name, states, shortcut and default action, and which changes they
// must hear about. The Win32 side turns these into IAccessible answers and
// NotifyWinEvent calls.
#include <string>
#include <vector>

#include "buttons/kw_button.h"

namespace orv::buttons {

enum class AccessibleRole { PushButton, CheckButton, RadioButton };

struct AccessibleStates {
  bool focused = false;
  bool pressed = false;  // held down by the mouse or the space bar
  bool checked = false;  // check-box and option modes
  bool unavailable = false;
  bool hot = false;  // under the pointer
  bool operator==(const AccessibleStates&) const = default;
};

struct AccessibleInfo {
  AccessibleRole role = AccessibleRole::PushButton;
  std::string name;
  std::string shortcut;  // "Alt+G", or empty
  AccessibleStates states;
  bool operator==(const AccessibleInfo&) const = default;
};

inline constexpr char kDefaultActionName[] = "Pressionar";

AccessibleRole AccessibleRoleOf(std::int32_t mode);
// The caption as read aloud: single "&" dropped, "&&" as "&", a "||" line
// break as a blank.
std::string AccessibleNameOf(const std::string& caption);
// "Alt+" and the access key in capitals; empty when the caption marks none.
std::string AccessibleShortcutOf(const std::string& caption);
AccessibleInfo DescribeForAccessibility(const KwButton& button, bool focused);

enum class AccessibleEvent { NameChange, StateChange, ValueChange, Focus };

// Compares what the button shows now with what was last announced and says
// what to announce; the first look only remembers.
class AccessibleAnnouncer {
 public:
  std::vector<AccessibleEvent> update(const AccessibleInfo& now);

 private:
  bool seen_ = false;
  AccessibleInfo last_;
};

}  // namespace orv::buttons
