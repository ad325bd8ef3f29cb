#include "buttons/accessibility.h"


namespace orv::buttons {

AccessibleRole AccessibleRoleOf(std::int32_t mode) {
  switch (mode) {
    case ModeCheckBox: return AccessibleRole::CheckButton;
    case ModeOptionButton: return AccessibleRole::RadioButton;
    default: return AccessibleRole::PushButton;
  }
}

std::string AccessibleNameOf(const std::string& caption) {
  std::string out = CaptionWithoutMarks(caption, [](std::string& text) {
    if (!text.empty() && text.back() != ' ') text += ' ';
  });
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string AccessibleShortcutOf(const std::string& caption) {
  std::optional<std::string> key = AccessKeyOf(caption);
  if (!key || key->empty() || *key == " ") return {};
  std::string k = *key;
  if (k.size() == 1 && k[0] >= 'a' && k[0] <= 'z') k[0] = static_cast<char>(k[0] - 'a' + 'A');
  return "Alt+" + k;
}

AccessibleInfo DescribeForAccessibility(const KwButton& button, bool focused) {
  AccessibleInfo info;
  info.role = AccessibleRoleOf(button.Mode());
  info.name = AccessibleNameOf(button.Caption());
  info.shortcut = AccessibleShortcutOf(button.Caption());
  info.states.focused = focused;
  info.states.pressed = (button.nStateFlags() & StatePressed) != 0;
  info.states.checked = button.Mode() != ModeCommandButton && button.Value();
  info.states.unavailable = !button.Enabled();
  info.states.hot = (button.nStateFlags() & StateMouseOver) != 0;
  return info;
}

std::vector<AccessibleEvent> AccessibleAnnouncer::update(const AccessibleInfo& now) {
  std::vector<AccessibleEvent> out;
  if (seen_) {
    if (now.name != last_.name) out.push_back(AccessibleEvent::NameChange);
    if (now.states.focused && !last_.states.focused) out.push_back(AccessibleEvent::Focus);
    AccessibleStates was = last_.states, is = now.states;
    was.focused = is.focused = false;  // told by the focus event
    if (is != was || now.role != last_.role) out.push_back(AccessibleEvent::StateChange);
    if (now.states.checked != last_.states.checked) out.push_back(AccessibleEvent::ValueChange);
  }
  seen_ = true;
  last_ = now;
  return out;
}

}  // namespace orv::buttons
