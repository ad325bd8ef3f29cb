#include "scheduler/message_send.h"

namespace orv {

bool HostBusy(Host& host) {
  // A flag call that finds the host gone makes it as busy as one that says so.
  if (auto busy = host.secondBusyFlag(); busy.gone || (busy.ok && busy.value)) return true;
  if (auto busy = host.firstBusyFlag(); busy.gone || (busy.ok && busy.value)) return true;
  return false;
}

std::string CurrentModeName(const FormControls& c) {
  if (c.Check20 && c.Check20->value() == 1) return "RF";
  if (c.Check21 && c.Check21->value() == 1) return "RF+IP";
  return {};
}

}  // namespace orv
