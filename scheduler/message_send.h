#pragma once
// The one way a message goes out to the host in the "RF + IP" mode, for the
// slots and the agenda alike, and the questions every sender asks first.
#include <functional>
#include <string>

#include "scheduler/form_controls.h"

namespace orv {

// Keys the transmitter with the indicator red, hands `path` to the host,
// runs `whileKeyed` (the caller's bookkeeping), unkeys and shows green. The
// host's reply to TransmitFile is returned; the sequence runs to its end
// whatever the host answers, so the transmitter is never left keyed.
HostReply SendToHost(FormControls& c, Host& host, const std::string& path, const std::function<void()>& whileKeyed = {});

// True while either busy flag is set. A flag that cannot be read counts as free.
bool HostBusy(Host& host);

// True when the host has gone away and messages must wait for it.
// The single place to ask it: the host link has no such query yet.
inline bool HostGone(Host&) { return false; }

// "RF", "RF+IP", or empty when no mode box is ticked.
std::string CurrentModeName(const FormControls& c);

}  // namespace orv
