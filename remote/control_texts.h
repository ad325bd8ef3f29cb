#pragma once
// The texts of the "Controle pelo rádio" window, and the check of what the
// operator typed in it before it is saved.
#include <optional>
#include <string>
#include <vector>

#include "remote/control_file.h"

namespace orv {

inline const std::string kControlWindowTitle = "Controle pelo r\xC3\xA1" "dio";
inline const std::string kControlMenuItem = "Controle pelo r\xC3\xA1" "dio...";
inline const std::string kResumeMenuItem = "Retomar envios";

// How to key a command, and the command table.
std::string CommandHelpText();

// One line on whether the radio is heard now, and why not.
std::string ControlStateText(const ControlFile& file, bool stopped);

// The hora folder's state: complete, or what it lacks.
std::string ClipFolderText(const std::vector<std::string>& missing);

// The settings from the window's boxes, or the message that says what is
// wrong with them. A blank code switches remote control off.
struct TypedSettings {
  std::optional<ControlSettings> settings;
  std::string problem;
};
TypedSettings ReadTypedSettings(const std::string& prefix, const std::string& code, const std::string& confirmation);

}  // namespace orv
