#include "scheduler/message_send.h"

namespace orv {

HostReply SendToHost(FormControls& c, Host& host, const std::string& path, const std::function<void()>& whileKeyed) {
  c.PTT->setTextColor(kPttOnColor);
  c.PTT->setText("PTT ON");
  host.setTransmit(true);
  HostReply reply = host.transmitFile(path, true);
  if (whileKeyed) whileKeyed();
  host.setTransmit(false);
  c.PTT->setTextColor(kPttOffColor);
  c.PTT->setText("PTT OFF");
  return reply;
}

bool HostBusy(Host& host) {
  if (auto busy = host.secondBusyFlag(); busy.ok && busy.value) return true;
  if (auto busy = host.firstBusyFlag(); busy.ok && busy.value) return true;
  return false;
}

std::string CurrentModeName(const FormControls& c) {
  if (c.Check20 && c.Check20->value() == 1) return "RF";
  if (c.Check21 && c.Check21->value() == 1) return "RF+IP";
  return {};
}

}  // namespace orv
