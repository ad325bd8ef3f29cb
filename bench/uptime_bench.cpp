// What a long run costs the window's thread: adding a record when 100,000
// are already behind it (against adding one to an empty record), what the
// record then holds, and one rebuild of the day's plan (once a minute at
// most) for nine slots sending every few seconds and a full agenda.
#include <chrono>
#include <cstdio>
#include <ostream>
#include <streambuf>

#include "agenda/send_plan.h"
#include "scheduler/transmission_record.h"
#include "tests/support/virtual_time.h"

using namespace orv;

namespace {

// The --log file, with nowhere to go.
struct NullBuffer : std::streambuf {
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

double MicrosPerAdd(TransmissionRecord& record, int adds) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < adds; ++i) record.add("slot 3", "identificacao.wav", "RF+IP", "enviada ap\xC3\xB3s 4 s de espera");
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count() / adds;
}

}  // namespace

int main() {
  test::VirtualTime time;
  NullBuffer nowhere;
  TransmissionRecord record(time);
  record.appendTo(std::make_unique<std::ostream>(&nowhere));
  std::size_t seen = 0;
  record.subscribe([&] { seen += record.entries().back().outcome.size(); });   // as the window: the newest entry

  const double fresh = MicrosPerAdd(record, 1000);
  MicrosPerAdd(record, static_cast<int>(kRecordsKept) - 1000);
  // From here on each new record lets the oldest go.
  const double full = MicrosPerAdd(record, 10000);
  MicrosPerAdd(record, 100000 - static_cast<int>(kRecordsKept) - 10000);
  const double late = MicrosPerAdd(record, 10000);
  std::printf("uptime_bench: add a record to an empty record         %.2f us each\n", fresh);
  std::printf("uptime_bench: add a record, 10,000 to 20,000 behind it %.2f us each\n", full);
  std::printf("uptime_bench: add a record, 100,000 behind it          %.2f us each (%.2fx the 10,000 figure, target ~1x)\n",
              late, late / full);
  std::printf("uptime_bench: records in memory after %llu added    %zu (kept: %zu)\n",
              static_cast<unsigned long long>(record.total()), record.entries().size(), kRecordsKept);

  std::array<SlotPlanInput, kSlotCount> slots;
  for (int i = 0; i < kSlotCount; ++i) slots[i] = {true, i, 2 + i, "slot" + std::to_string(i + 1) + ".wav"};
  std::string text;
  for (int h = 0; h < 24; ++h)
    for (int m = 0; m < 60; m += 5) {
      char line[40];
      std::snprintf(line, sizeof line, "%02d:%02d todos agenda.wav\r\n", h, m);
      text += line;
    }
  const AgendaFile agenda = ParseAgenda(text);
  const LocalTime now{2026, 5, 4, 12, 0, 30, 0, 1};
  const int runs = 5;
  double best = 1e9;
  std::size_t sends = 0;
  for (int r = 0; r < runs; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    const SendPlan plan = PlanSends(slots, agenda, now);
    const auto hours = AirtimePerHour(plan, [](const std::string&) -> std::optional<double> { return 8.0; });
    best = std::min(best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    sends = plan.sends.size() + static_cast<std::size_t>(hours[0] < 0);
  }
  std::printf("uptime_bench: the day's plan, 9 slots every 3-11 s and 288 agenda times: %zu sends, %.1f ms (best of %d)\n",
              sends, best, runs);
  return seen == 0;
}
