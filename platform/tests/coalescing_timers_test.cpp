// The thread's timers on one repeating alarm: wake-ups shared, never early,
// and the alarm left alone while the rhythm holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/coalescing_timers.h"

using namespace orv;
using namespace std::chrono_literals;

namespace {

// A window timer's behaviour: whole milliseconds, at least 10, repeating.
class FakeAlarm : public RepeatingAlarm {
 public:
  Micros now() const override { return now_; }
  Micros start(Micros delay) override {
    ++starts;
    period_ = std::max<Micros>(Micros((delay.count() + 999) / 1000 * 1000), 10ms);
    next_ = now_ + period_;
    on_ = true;
    return period_;
  }
  void stop() override { on_ = false; }

  // Time passes; the alarm goes off on its own rhythm, each going-off
  // delivered `late`, and at once when it was due during a hold-up.
  void runFor(Micros d, Micros late = 0us) {
    const Micros end = now_ + d;
    while (on_) {
      const Micros at = std::max(next_ + late, now_);
      if (at > end) break;
      now_ = at;
      while (next_ <= now_) next_ += period_;
      ++wakes;
      timers->onAlarm();
    }
    now_ = std::max(now_, end);
  }
  void jump(Micros d) { now_ += d; }  // the thread was held up, or the machine slept

  CoalescingTimers* timers = nullptr;
  int starts = 0;
  int wakes = 0;
  bool on() const { return on_; }

 private:
  Micros now_{5'000'000};
  Micros next_{0};
  Micros period_{0};
  bool on_ = false;
};

struct Timers : ::testing::Test {
  Timers() { alarm.timers = &timers; }
  // A tick that logs its name and the time it ran at, in ms from the start.
  std::function<void()> logging(const std::string& name) {
    return [this, name] { log.push_back(name + "@" + std::to_string((alarm.now() - t0).count() / 1000)); };
  }
  FakeAlarm alarm;
  CoalescingTimers timers{alarm};
  Micros t0 = alarm.now();
  std::vector<std::string> log;
};

}  // namespace

TEST_F(Timers, TicksDueWithinAFewMillisecondsShareOneWakeAndNoneRunsEarly) {
  auto clock = timers.create(logging("clock"));
  auto progress = timers.create(logging("progress"));
  auto slot = timers.create(logging("slot"));
  clock->start(1000ms);
  progress->start(1003ms);
  slot->start(1300ms);
  alarm.runFor(1500ms);
  EXPECT_EQ(log, (std::vector<std::string>{"clock@1003", "progress@1003", "slot@1300"}));
  EXPECT_EQ(alarm.wakes, 2);
}

TEST_F(Timers, ASteadyRhythmKeepsItsPhaseWithoutSettingTheAlarmAgain) {
  auto a = timers.create(logging("a"));
  auto b = timers.create(logging("b"));
  a->start(500ms);
  b->start(1000ms);
  alarm.runFor(2100ms, 2ms);  // each wake-up delivered late
  EXPECT_EQ(log, (std::vector<std::string>{"a@502", "a@1002", "b@1002", "a@1502", "a@2002", "b@2002"}));
  const int starts = alarm.starts;
  alarm.runFor(60s);
  EXPECT_EQ(alarm.starts, starts);
  EXPECT_EQ(alarm.wakes, 4 + 120);
}

TEST_F(Timers, AfterAHoldUpOneTickThenThePeriodFromThen) {
  auto a = timers.create(logging("a"));
  a->start(1000ms);
  alarm.jump(10s);
  alarm.runFor(2500ms);
  // Due since 1 s: once when the thread is back, then every second from then.
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "a@10000");
  EXPECT_EQ(log[1], "a@11000");
}

TEST_F(Timers, ATickMayStopStartOrDestroyItselfAndOthers) {
  std::unique_ptr<Timer> a, b, c;
  a = timers.create([&] {
    log.push_back("a");
    b->stop();           // due in this wake-up too: it does not run
    c->start(200ms);     // started again: its old turn is gone
    a.reset();           // gone from inside its own tick
  });
  b = timers.create(logging("b"));
  c = timers.create(logging("c"));
  a->start(1000ms);
  b->start(1000ms);
  c->start(1000ms);
  alarm.runFor(1300ms);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "c@1200"}));
  EXPECT_FALSE(b->running());
}

TEST_F(Timers, AMessageBoxInsideATickStillLetsTheOtherTimersRun) {
  auto clock = timers.create(logging("clock"));
  int boxes = 0;
  auto slot = timers.create([&] {
    log.push_back("slot");
    // The box's own loop goes on for three seconds; the alarm keeps going
    // off inside it.
    if (boxes++ == 0) alarm.runFor(3000ms);
  });
  clock->start(1000ms);
  slot->start(1000ms);
  alarm.runFor(1000ms);
  // The slot's next turns came while its box was open: windows deliver them
  // again inside, as they do.
  EXPECT_EQ(log, (std::vector<std::string>{"clock@1000", "slot", "clock@2000", "slot", "clock@3000", "slot",
                                           "clock@4000", "slot"}));
}

TEST_F(Timers, TheAlarmFollowsTheEarliestTickAndRestsWhenNoneRuns) {
  auto slow = timers.create(logging("slow"));
  slow->start(60s);
  EXPECT_EQ(alarm.starts, 1);
  auto soon = timers.create(logging("soon"));
  soon->start(100ms);  // before the alarm's next going-off: moved
  EXPECT_EQ(alarm.starts, 2);
  alarm.runFor(150ms);
  EXPECT_EQ(log, (std::vector<std::string>{"soon@100"}));
  soon->stop();
  slow->stop();
  alarm.runFor(61s);
  EXPECT_FALSE(alarm.on());
  EXPECT_EQ(log.size(), 1u);

  bool open = false;
  timers.setGate([&] { return open; });
  slow->start(1000ms);
  alarm.runFor(1000ms);
  EXPECT_EQ(log.size(), 1u) << "a closed gate drops ticks";
}
