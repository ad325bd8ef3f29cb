#include "scheduler/dtmf_handler.h"

#include "scheduler/message_send.h"

namespace orv {

DtmfHandler::DtmfHandler(FormControls& controls, FormServices& services) : c_(controls), s_(services) {}

HostReply DtmfHandler::onDtmfString(const std::string& digits) {
  // The code is read now: an edit of the box takes effect at once.
  if (digits != c_.DTMFInfo3->text()) return {};
  HostReply reply = s_.EchoLink->sendIdentification(false);
  if (s_.record) {
    // The identification is the host's own recording: it has no file of ours.
    const std::string mode = CurrentModeName(c_);
    s_.record->add("DTMF", "identificação", mode.empty() ? "RF" : mode,
                   reply.ok ? kOutcomeSent : HostFailedOutcome(reply.error));
  }
  return reply;
}

}  // namespace orv
