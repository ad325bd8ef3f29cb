// libFuzzer target: any bytes as the remote control's settings file, and as
// a DTMF string from a remote station. Reading never fails; a refused file
// says where; a file read whole writes back with the same settings and its
// other lines in place; the host log's mask hides every keyed character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "remote/control_file.h"
#include "remote/dtmf_command.h"
#include "scheduler/text_decoding.h"
#include "tests/support/fake_services.h"

using namespace orv;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  test::FakeLocale locale;
  const ControlFile file = ParseControlFile(DecodeTextFile(bytes, locale));
  if (file.refused()) {
    Check(file.badLine > 0 && !file.problem.empty());
    Check(!file.settings.enabled());
  } else {
    const ControlFile again = ParseControlFile(FormatControlFile(WithSettings(file, file.settings)));
    Check(!again.refused());
    Check(again.settings.prefix == file.settings.prefix && again.settings.code == file.settings.code);
    Check(again.settings.confirmation == file.settings.confirmation && again.settings.stopped == file.settings.stopped);
  }
  // The stop's line is the only one that changes.
  const ControlFile stopped = WithStopped(file, true);
  Check(stopped.settings.stopped);
  Check(stopped.lines.size() <= file.lines.size() + 1);

  const DtmfReading r = ReadDtmfCommand(bytes, 'D', "4821");
  if (r.kind == DtmfReading::Kind::Command) Check(!CommandName(r.command).empty());
  const std::string masked = MaskDtmfForLog(bytes, 'D');
  Check(masked.size() == bytes.size());
  if (!bytes.empty() && (bytes[0] == 'D' || bytes[0] == 'd')) Check(masked.find_first_not_of('*', 1) == std::string::npos);
  return 0;
}
