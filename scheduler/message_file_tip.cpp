#include "scheduler/message_file_tip.h"

#include "scheduler/format_hms.h"

namespace orv {

std::string MessageFileTip(const AudioFileInfo& info, bool found) {
  if (!found) return "O arquivo n\xc3\xa3o Existe!";
  if (info.error != AudioError::None) return "O arquivo n\xc3\xa3o pode ser tocado: " + AudioErrorReason(info.error);
  std::string tip = "Dura\xc3\xa7\xc3\xa3o: " + FormatHms(info.seconds) + "\r\n" + info.format + "\r\n";
  tip += info.hostReady ? "Em RF + IP: vai como est\xc3\xa1"
                        : "Em RF + IP: vai convertido para " + HostFormatName();
  return tip;
}

}  // namespace orv
