#pragma once
#include <string>

namespace orv {

// What the user reads when the host cannot be reached at start-up: the cause
// in the system's words, and how to run without the host.
std::string StartupFailureText(const std::string& cause);

}  // namespace orv
