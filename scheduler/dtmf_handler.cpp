#include "scheduler/dtmf_handler.h"

namespace orv {

DtmfHandler::DtmfHandler(FormControls& controls, TransmitterGuard& guard) : c_(controls), guard_(guard) {}

bool DtmfHandler::matches(const std::string& digits) const { return digits == c_.DTMFInfo3->text(); }

HostReply DtmfHandler::onDtmfString(const std::string& digits) {
  // The code is read now: an edit of the box takes effect at once.
  if (!matches(digits)) return {};
  HostReply reply;
  guard_.sendIdentification("DTMF", &reply);
  return reply;
}

}  // namespace orv
