#pragma once
// The questions asked before a message goes out: the host's busy flags and
// the transmit mode.
#include <string>

#include "scheduler/form_controls.h"

namespace orv {

// True while either busy flag is set. A flag that cannot be read counts as free.
bool HostBusy(Host& host);

// True when the host has gone away and messages must wait for it.
inline bool HostGone(Host& host) { return host.gone(); }

// "RF", "RF+IP", or empty when no mode box is ticked.
std::string CurrentModeName(const FormControls& c);

}  // namespace orv
