#pragma once
#include <string>

namespace orv {

// What the user reads when the host cannot be reached at start-up: the cause
// in the system's words, and how to run without the host.
std::string StartupFailureText(const std::string& cause);

// Said once at start-up when the host works but its events cannot be
// connected: the program runs deaf to DTMF codes and to the host closing.
std::string EventsNotConnectedText(const std::string& cause);

}  // namespace orv
