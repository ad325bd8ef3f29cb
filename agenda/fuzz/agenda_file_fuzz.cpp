// libFuzzer target: any bytes as the agenda file. Reading never fails, every
// line is kept word for word, an entry's own text reads back as the same
// entry, and the next due time of an entry is never before now.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "agenda/agenda_file.h"
#include "agenda/agenda_times.h"
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
  const AgendaFile file = ParseAgenda(DecodeTextFile(bytes, locale));
  const AgendaFile again = ParseAgenda(FormatAgenda(file));
  Check(again.lines.size() == file.lines.size());
  for (size_t i = 0; i < file.lines.size(); ++i) {
    const AgendaLine& line = file.lines[i];
    Check(again.lines[i].text == line.text);
    Check(line.text.find_first_of("\r\n") == std::string::npos);
    if (line.kind == AgendaLine::Kind::Unreadable) Check(!line.problem.empty());
    if (line.kind != AgendaLine::Kind::Entry) continue;
    const AgendaLine own = ParseAgendaLine(FormatAgendaEntry(line.entry));
    Check(own.kind == AgendaLine::Kind::Entry);
    Check(FormatAgendaEntry(own.entry) == FormatAgendaEntry(line.entry));
    const LocalMinute now = 29'000'000;   // 2025
    if (auto next = NextDue(line.entry, now)) Check(*next > now);
    if (auto last = LatestDue(line.entry, now)) Check(*last <= now);
  }
  UnreadableLinesMessage(file);
  return 0;
}
