#pragma once
// The window's thread waiting for the host's answer. The window goes on
// living meanwhile: sent messages, paint, timers and posted messages are
// dispatched, so the clock moves and the window answers; the operator's
// mouse and keyboard input (and posted clicks, commands and close
// requests) stays queued until the wait ends, so no click runs in the
// middle of the step that called the host.
#include <windows.h>

#include <chrono>
#include <functional>

namespace orv::win {

using HostClock = std::chrono::steady_clock;

enum class CallWaitEnd {
  Answered,   // `answered` was signalled
  Deadline,   // the deadline passed first
  Stopped,    // `stop` said so (asked after each round of messages)
};

CallWaitEnd WaitForAnswer(HANDLE answered, HostClock::time_point deadline, const std::function<bool()>& stop = {});

// How many waits are on this thread's stack.
int CallWaitDepth();

// Posts `msg` to `window` once no wait is on this thread's stack any more
// (at once when none is).
void PostAfterCallWaits(HWND window, UINT msg);

// Whether a wait leaves this message queued for after it.
bool HeldDuringCallWait(UINT msg);

}  // namespace orv::win
