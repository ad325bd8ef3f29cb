#include "remote/form_station.h"

#include "remote/remote_control.h"
#include "scheduler/message_path.h"
#include "scheduler/message_send.h"

namespace orv {

using Hold = TransmitterGuard::Hold;

FormStation::FormStation(FormControls& controls, FormFields& fields, TransmitterGuard& guard, SlotScheduler& scheduler,
                         std::function<void(bool)> showStopped)
    : c_(controls), f_(fields), guard_(guard), scheduler_(scheduler), showStopped_(std::move(showStopped)) {}

RemoteStation::Delivery FormStation::sendSlot(int slot) {
  Hold why = Hold::None;
  if (scheduler_.sendNow(slot, &why)) return Delivery::Done;
  // Nothing held it: the box named no file, and nothing was to go.
  return why == Hold::None ? Delivery::Done : Delivery::Wait;
}

RemoteStation::Delivery FormStation::sendFile(const std::string& name, const std::string& path, long long waited,
                                              bool despiteStop) {
  TransmitterGuard::Message m;
  m.origin = kRemoteOrigin;
  m.name = name;
  m.path = path;
  m.waited = waited;
  // An answer never cuts a message on the air short, and a missing file is
  // recorded, not handed over.
  m.waitForPlayback = true;
  m.requireFile = true;
  const Hold hold = despiteStop ? guard_.sendDespiteStop(m) : guard_.send(m);
  return hold == Hold::None ? Delivery::Done : Delivery::Wait;
}

RemoteStation::Delivery FormStation::sendIdentification() {
  // As the identification code's: asked once, recorded when held, never
  // kept for later.
  guard_.sendIdentification(kRemoteOrigin);
  return Delivery::Done;
}

std::string FormStation::modeName() { return CurrentModeName(c_); }

std::string FormStation::messagePath(const std::string& name) { return MessagePath(f_.caminho, name); }

}  // namespace orv
