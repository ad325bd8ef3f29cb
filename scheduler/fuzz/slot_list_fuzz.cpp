// libFuzzer target: any bytes as "orvalen.txt", read into the boxes and saved
// again. Reading must never fail, and what was read must save and read back
// the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scheduler/slot_list_file.h"
#include "tests/support/form_fixture.h"

using namespace orv;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const SlotListLines lines = ParseSlotList(bytes);
  for (const auto& line : lines) {
    Check(line.size() <= kMaxSlotLineBytes);
    Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
  }
  Check(ParseSlotList(FormatSlotList(lines)) == lines);

  test::FormFixture f;
  SlotListFile list(f.controls, f.services);
  f.files.files[kSlotListFileName] = bytes;
  Check(list.readOnRequest());
  Check(f.dialogs.shown.empty());
  std::array<std::string, kSlotListLines> boxes;
  for (int i = 0; i < kSlotCount; ++i) {
    boxes[i] = f.mens[i].text();
    boxes[kSlotCount + i] = f.cont[i].text();
  }
  if (list.save()) {
    for (int i = 0; i < kSlotCount; ++i) f.mens[i].setText("?");
    Check(list.readOnRequest());
    for (int i = 0; i < kSlotCount; ++i) Check(f.mens[i].text() == boxes[i]);
  } else {
    // Refused: only for text the code page cannot hold, and nothing written.
    Check(f.files.files[kSlotListFileName] == bytes);
    Check(f.dialogs.shown.size() == 1);
  }
  return 0;
}
