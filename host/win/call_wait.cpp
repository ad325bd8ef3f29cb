#include "host/win/call_wait.h"

#include <utility>
#include <vector>

namespace orv::win {
namespace {

struct PendingPost {
  HWND window;
  UINT msg;
};

thread_local int t_depth = 0;
thread_local std::vector<PendingPost> t_afterWaits;

// Messages outside these ranges wait for the wait's end: keyboard and
// mouse input (client and frame), posted clicks (BM_CLICK), commands,
// system commands, close requests, dropped files, and the quit message,
// which is the message loop's to see.
constexpr std::pair<UINT, UINT> kDispatched[] = {
    {0x0000, WM_CLOSE - 1},
    {WM_CLOSE + 1, WM_QUIT - 1},
    {WM_QUIT + 1, WM_NCMOUSEMOVE - 1},
    {WM_NCXBUTTONDBLCLK + 1, BM_CLICK - 1},
    {BM_CLICK + 1, WM_INPUT - 1},
    {WM_KEYLAST + 1, WM_COMMAND - 1},
    {WM_SYSCOMMAND + 1, WM_MOUSEFIRST - 1},
    {WM_MOUSELAST + 1, WM_DROPFILES - 1},
    {WM_DROPFILES + 1, WM_NCMOUSEHOVER - 1},
    {WM_MOUSELEAVE + 1, 0xFFFFFFFF},
};
static_assert(WM_INPUT + 1 == WM_KEYFIRST && WM_COMMAND + 1 == WM_SYSCOMMAND);

// One round: every dispatchable message now queued. Whether any was.
bool DispatchRound() {
  bool any = false;
  for (const auto& [first, last] : kDispatched) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, first, last, PM_REMOVE)) {
      any = true;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return any;
}

struct Depth {
  Depth() { ++t_depth; }
  ~Depth() {
    if (--t_depth > 0) return;
    auto posts = std::exchange(t_afterWaits, {});
    for (const auto& p : posts) ::PostMessageW(p.window, p.msg, 0, 0);
  }
  Depth(const Depth&) = delete;
  Depth& operator=(const Depth&) = delete;
};

}  // namespace

bool HeldDuringCallWait(UINT msg) {
  for (const auto& [first, last] : kDispatched)
    if (msg >= first && msg <= last) return false;
  return true;
}

CallWaitEnd WaitForAnswer(HANDLE answered, HostClock::time_point deadline, const std::function<bool()>& stop) {
  Depth depth;
  bool idleWake = false;
  for (;;) {
    if (::WaitForSingleObject(answered, 0) == WAIT_OBJECT_0) return CallWaitEnd::Answered;
    const bool dispatched = DispatchRound();
    if (stop && stop()) return CallWaitEnd::Stopped;
    if (::WaitForSingleObject(answered, 0) == WAIT_OBJECT_0) return CallWaitEnd::Answered;
    const auto now = HostClock::now();
    if (now >= deadline) return CallWaitEnd::Deadline;
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
    // A message held for later wakes the wait again and again; after a
    // wake that found nothing to dispatch, the next waits only on the
    // answer for a moment, so the thread does not spin.
    if (idleWake && !dispatched) {
      idleWake = false;
      ::WaitForSingleObject(answered, static_cast<DWORD>(std::min<long long>(left, 10)));
      continue;
    }
    const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &answered, static_cast<DWORD>(left),
                                                     QS_SENDMESSAGE | QS_PAINT | QS_TIMER | QS_POSTMESSAGE, 0);
    idleWake = woke == WAIT_OBJECT_0 + 1;
  }
}

int CallWaitDepth() { return t_depth; }

void PostAfterCallWaits(HWND window, UINT msg) {
  if (t_depth == 0) {
    ::PostMessageW(window, msg, 0, 0);
    return;
  }
  for (const auto& p : t_afterWaits)
    if (p.window == window && p.msg == msg) return;
  t_afterWaits.push_back({window, msg});
}

}  // namespace orv::win
