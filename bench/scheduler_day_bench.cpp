// A day of nine armed slots on the virtual clock: what the countdown costs in
// CPU and how many ticks, label writes and sends it makes.
#include <chrono>
#include <cstdio>
#include <ctime>

#include "scheduler/slot_scheduler.h"
#include "tests/support/form_fixture.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

struct NullPlayer : LocalPlayer {
  bool load(const std::string&) override { return ++plays, true; }
  bool run() override { return true; }
  void unload() override {}
  bool playing() const override { return false; }
  long plays = 0;
};

}  // namespace

int main() {
  FormFixture f;
  NullPlayer player;
  TransmitterGuard guard(f.controls, f.services, f.fields, player);
  SlotScheduler sched(f.controls, f.services, f.fields, guard);
  sched.stopAllTimers();
  f.check21.setValue(1);
  const int intervals[kSlotCount] = {5, 7, 11, 13, 30, 60, 120, 300, 600};
  long expectedSends = 0;
  for (int i = 0; i < kSlotCount; ++i) {
    const std::string name = "slot" + std::to_string(i + 1) + ".wav";
    f.files.files[f.fields.caminho + name] = "RIFF";
    f.mens[i].setText(name);
    f.cont[i].setText(std::to_string(intervals[i]));
    sched.setSlotCheck(i, 1);
    expectedSends += 86400 / (intervals[i] + 1);
  }

  const std::clock_t cpu0 = std::clock();
  f.time.advance(24h);
  const double cpu = double(std::clock() - cpu0) / CLOCKS_PER_SEC;

  long labelWrites = 0;
  for (const auto& t : f.temp) labelWrites += t.writes;
  const long sends = static_cast<long>(f.host.callsStartingWith("TransmitFile").size());
  std::printf("scheduler_day_bench: 24 h, 9 slots armed, RF + IP\n");
  std::printf("  cpu time        %.3f s (target < 1 s)\n", cpu);
  std::printf("  timer ticks     %llu (expected %d)\n", static_cast<unsigned long long>(f.time.ticksDelivered()),
              86400 * kSlotCount);
  std::printf("  label writes    %ld\n", labelWrites);
  std::printf("  host calls      %zu\n", f.host.calls.size());
  std::printf("  sends           %ld (expected %ld)\n", sends, expectedSends);
  std::printf("  cpu per tick    %.2f us\n", cpu * 1e6 / double(f.time.ticksDelivered() ? f.time.ticksDelivered() : 1));
  return 0;
}
