#include "scheduler/dtmf_handler.h"

namespace orv {

DtmfHandler::DtmfHandler(FormControls& controls, FormServices& services) : c_(controls), s_(services) {}

HostReply DtmfHandler::onDtmfString(const std::string& digits) {
  // The code is read now: an edit of the box takes effect at once.
  if (digits != c_.DTMFInfo3->text()) return {};
  return s_.EchoLink->sendIdentification(false);
}

}  // namespace orv
