#pragma once
#include <string>

#include "scheduler/form_controls.h"
#include "scheduler/transmitter_guard.h"

namespace orv {

// Answers the one DTMF code typed in DTMFInfo3 by asking the host for the
// station identification. The received digits are remote input: they are
// only compared, never shown or kept.
class DtmfHandler {
 public:
  DtmfHandler(FormControls& controls, TransmitterGuard& guard);

  // The host's reply to SendIdentification, or success when the digits are
  // not the code; a failure is the caller's to report.
  HostReply onDtmfString(const std::string& digits);
  // Whether the digits are the code, read from the box now.
  bool matches(const std::string& digits) const;

 private:
  FormControls& c_;
  TransmitterGuard& guard_;
};

}  // namespace orv
