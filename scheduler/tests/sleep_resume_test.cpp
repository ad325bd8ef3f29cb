// A machine that sleeps: the monotonic clock stands still, so the countdowns
// resume where they stood; nothing bursts at waking and the phase is kept.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "scheduler/tests/scheduler_fixture.h"
#include "scheduler/transmission.h"
#include "scheduler/transmitter_guard.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

using Sends = std::vector<std::pair<long long, std::string>>;  // wall ms, call

struct NineSlots : SchedulerFixture {
  NineSlots() {
    check21.setValue(1);
    const char* intervals[] = {"7", "11", "13", "30", "45", "60", "97", "300", "600"};
    for (int i = 0; i < kSlotCount; ++i) arm(i, "m" + std::to_string(i) + ".wav", intervals[i]);
    host.onCall = [this](const std::string& c) {
      if (c.rfind("TransmitFile", 0) == 0) log.emplace_back(time.localMillis(), c);
    };
  }
  Sends take() { return std::exchange(log, {}); }
  Sends log;
};

}  // namespace

TEST(SleepResume, TwoHoursAsleepShiftTheSendsAndBurstNothing) {
  NineSlots awake, asleep;
  awake.time.advance(1234500ms);
  asleep.time.advance(1234500ms);
  ASSERT_FALSE(asleep.take().empty());
  awake.take();

  asleep.time.sleep(2h);
  asleep.time.advance(0ms);  // waking: every window timer is overdue at once
  EXPECT_TRUE(asleep.take().empty());

  awake.time.advance(3600s);
  asleep.time.advance(3600s);
  Sends shifted = awake.take();
  ASSERT_GT(shifted.size(), 100u);
  for (auto& s : shifted) s.first += 2 * 3600 * 1000;
  EXPECT_EQ(asleep.take(), shifted);
}

TEST(SafetyNet, ARefusedRfPlusIpReleaseIsAskedForEverySecondUntilTheHostAgrees) {
  FormFixture fx;
  Transmission tx{fx.controls, fx.services, fx.fields};
  TransmitterGuard guard{fx.controls, fx.services, fx.fields, tx};
  SlotScheduler sched{fx.controls, fx.services, fx.fields, guard};
  tx.onPlaybackEnd([&] { guard.onPlaybackEnd(); });
  tx.start();
  fx.check21.setValue(1);
  fx.text2.setText("00:00:04");  // left by a playback: the idle tick's release is off
  fx.files.files["C:\\Orvalen\\a.wav"] = "RIFF";
  fx.mens[0].setText("a.wav");
  fx.cont[0].setText("5");
  fx.check[0].setValue(1);
  sched.onSlotCheckChanged(0);
  fx.host.fail("SetTransmit(0");
  fx.time.advance(6500ms);
  ASSERT_EQ(fx.host.count("TransmitFile(C:\\Orvalen\\a.wav,-1)"), 1);
  fx.check[0].setValue(0);
  sched.onSlotCheckChanged(0);
  EXPECT_EQ(fx.ptt.text(), "PTT ON");
  const int refused = fx.host.count("SetTransmit(0)");
  fx.time.advance(3000ms);
  EXPECT_EQ(fx.host.count("SetTransmit(0)"), refused + 3);
  fx.host.heal("SetTransmit(0");
  fx.time.advance(1000ms);
  EXPECT_EQ(fx.ptt.text(), "PTT OFF");
  const int agreed = fx.host.count("SetTransmit(0)");
  fx.time.advance(10s);
  EXPECT_EQ(fx.host.count("SetTransmit(0)"), agreed);  // asked until confirmed, not after
}
