#pragma once
// The host application's automation object, called by name on the thread
// that made it (the host thread).
#include <windows.h>

#include <chrono>
#include <memory>

#include "host/win/host_event_queue.h"
#include "host/win/threaded_host.h"

namespace orv::win {

// Creates the object of `clsid` on the calling thread, with its events
// going to `events`. A host that rejects a call is asked again for
// `rejectedRetry` in all.
MadeHost MakeDispatchHost(const CLSID& clsid, std::chrono::milliseconds rejectedRetry,
                          std::shared_ptr<HostEventTarget> events);

}  // namespace orv::win
