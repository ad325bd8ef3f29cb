#include <gtest/gtest.h>

#include <cmath>

#include "scheduler/slot_list_file.h"
#include "scheduler/tests/scheduler_fixture.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

const std::string kSendA = "TransmitFile(C:\\Orvalen\\a.wav,-1)";

// Window timers come late by up to a scheduler quantum on every tick; a
// countdown that trusts them drifts by minutes a day.
class LateTimers : public TimerService {
 public:
  LateTimers(TimerService& inner, Millis late) : inner_(inner), late_(late) {}
  std::unique_ptr<Timer> create(std::function<void()> onTick) override {
    struct Late : Timer {
      std::unique_ptr<Timer> t;
      Millis late;
      void start(Millis i) override { t->start(i + late); }
      void stop() override { t->stop(); }
      bool running() const override { return t->running(); }
    };
    auto l = std::make_unique<Late>();
    l->t = inner_.create(std::move(onTick));
    l->late = late_;
    return l;
  }

 private:
  TimerService& inner_;
  Millis late_;
};

}  // namespace

TEST(SlotTick, IntervalFiveCountsDownToZeroAndFiresEverySixSeconds) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "5");
  std::vector<std::string> labels{f.temp[0].text()};
  for (int s = 0; s < 12; ++s) {
    f.seconds(1);
    labels.push_back(f.temp[0].text());
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"5", "4", "3", "2", "1", "0", "5", "4", "3", "2", "1", "0", "5"}));
  std::vector<long long> at;
  f.host.onCall = [&](const std::string& c) {
    if (c.rfind("TransmitFile", 0) == 0) at.push_back(f.time.monotonic().count());
  };
  f.seconds(18);
  EXPECT_EQ(at, (std::vector<long long>{18000, 24000, 30000}));
}

TEST(SlotTick, RfOnlyPlaysLocallyThenReloads) {
  SchedulerFixture f;
  f.check20.setValue(1);
  f.arm(2, "ident.wav", "2");
  std::string labelAtToca;
  f.player.onToca = [&] { labelAtToca = f.temp[2].text(); };
  f.seconds(3);
  EXPECT_EQ(f.player.played, std::vector<std::string>{"ident.wav"});
  EXPECT_EQ(f.fields.arquivoAtual, "ident.wav");  // the name as typed, no folder
  EXPECT_EQ(labelAtToca, "0");
  EXPECT_EQ(f.temp[2].text(), "2");
  // TOCA's own calls: the earlier playback unkeyed, then this one keyed.
  EXPECT_EQ(f.host.calls,
            (std::vector<std::string>{"SecondBusyFlag", "FirstBusyFlag", "SetTransmit(0)", "SetTransmit(-1)"}));
}

TEST(SlotTick, RfPlusIpSendsWithinOneTickAndEndsGreen) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "1");
  std::vector<std::string> seen;
  f.host.onCall = [&](const std::string& c) {
    seen.push_back(c + " " + f.ptt.text() + (f.ptt.textColor() == kPttOnColor ? " red" : "") + " " +
                   f.temp[0].text());
  };
  f.seconds(2);
  EXPECT_EQ(seen, (std::vector<std::string>{"SecondBusyFlag PTT OFF 0", "FirstBusyFlag PTT OFF 0",
                                            "SetTransmit(-1) PTT ON red 0", kSendA + " PTT ON red 0",
                                            "SetTransmit(0) PTT ON red 1"}));
  EXPECT_EQ(f.ptt.text(), "PTT OFF");
  EXPECT_EQ(f.ptt.textColor(), kPttOffColor);
}

TEST(SlotTick, FailingHostCallsAreSkipped) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "1");
  f.host.fail("SecondBusyFlag");
  f.host.fail("FirstBusyFlag");
  f.host.fail("SetTransmit");
  f.host.fail("TransmitFile");
  f.host.secondBusy = f.host.firstBusy = true;  // unreadable flags count as free
  f.seconds(2);
  EXPECT_EQ(f.host.count("SetTransmit(0)"), 1);
  EXPECT_EQ(f.temp[0].text(), "1");
  // A refused unkey is not shown as released, and is asked for again.
  EXPECT_EQ(f.ptt.text(), "PTT ON");
  EXPECT_TRUE(f.guard.mayBeKeyed());
}

TEST(SlotTick, ABusyHostHoldsTheSlotAtZeroUntilTheFirstFreeTick) {
  for (bool second : {true, false}) {
    SchedulerFixture f;
    f.check21.setValue(1);
    f.arm(0, "a.wav", "1");
    (second ? f.host.secondBusy : f.host.firstBusy) = true;
    f.seconds(5);
    EXPECT_TRUE(f.sends().empty());
    EXPECT_EQ(f.temp[0].text(), "0");
    EXPECT_EQ(f.host.count("SecondBusyFlag"), 4);
    EXPECT_EQ(f.host.count("FirstBusyFlag"), second ? 0 : 4);  // the second flag is asked first
    f.host.secondBusy = f.host.firstBusy = false;
    f.seconds(1);
    EXPECT_EQ(f.sends().size(), 1u);
    EXPECT_EQ(f.temp[0].text(), "1");
  }
}

TEST(SlotTick, WithoutAModeTheSlotWaitsAtZeroAskingEverySecond) {
  SchedulerFixture f;
  f.arm(0, "a.wav", "1");
  f.seconds(6);
  EXPECT_TRUE(f.sends().empty());
  EXPECT_TRUE(f.player.played.empty());
  EXPECT_EQ(f.temp[0].text(), "0");
  EXPECT_EQ(f.host.count("SecondBusyFlag"), 5);
  EXPECT_EQ(f.host.count("FirstBusyFlag"), 5);
  f.clickMode(21);
  f.seconds(1);
  EXPECT_EQ(f.sends().size(), 1u);
}

TEST(SlotTick, TwoSlotsDueInOneSecondBothSend) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "3");
  f.arm(1, "b.wav", "3");
  f.seconds(4);
  EXPECT_EQ(f.sends(), (std::vector<std::string>{kSendA, "TransmitFile(C:\\Orvalen\\b.wav,-1)"}));
}

TEST(SlotTick, UntickingFreezesAndReTickingRestartsFromTheInterval) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "5");
  f.seconds(2.5);
  f.click(0);
  f.seconds(20);
  EXPECT_EQ(f.temp[0].text(), "3");
  EXPECT_TRUE(f.sends().empty());
  EXPECT_TRUE(f.host.calls.empty());
  EXPECT_FALSE(f.sched.slotTimerRunning(0));  // nothing is due: its timer sleeps
  f.click(0);  // at 22.5 s: a new arming time
  EXPECT_EQ(f.temp[0].text(), "5");
  f.seconds(0.9);
  EXPECT_EQ(f.temp[0].text(), "5");
  f.seconds(0.1);
  EXPECT_EQ(f.temp[0].text(), "4");
  f.seconds(5);
  EXPECT_EQ(f.sends().size(), 1u);
}

TEST(SlotTick, ReadWhileArmedChangesTheBoxesNotTheCountdown) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "5");
  f.seconds(2);
  f.files.files[kSlotListFileName] = "novo.wav\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n8\r\n";
  SlotListFile list(f.controls, f.services);
  ASSERT_TRUE(list.readOnRequest());
  EXPECT_EQ(f.mens[0].text(), "novo.wav");
  EXPECT_EQ(f.temp[0].text(), "3");
  EXPECT_EQ(f.check[0].value(), 1);
  f.seconds(4);  // the new name goes out without a new file test; the new interval reloads
  EXPECT_EQ(f.sends(), std::vector<std::string>{"TransmitFile(C:\\Orvalen\\novo.wav,-1)"});
  EXPECT_EQ(f.temp[0].text(), "8");
}

TEST(SlotTick, AnIntervalEditedIntoNonsenseKeepsTheLastOne) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "2");
  f.cont[0].setText("12abc");
  f.seconds(3);
  EXPECT_EQ(f.temp[0].text(), "12");  // the leading value, as typed
  for (const char* bad : {"", "0", "abc", "-5", "2.5"}) {
    f.cont[0].setText(bad);
    f.seconds(13);
    EXPECT_EQ(f.temp[0].text(), "12") << bad;  // neither every tick nor never again
  }
  EXPECT_EQ(f.sends().size(), 6u);
}

TEST(SlotTick, TheScheduleDoesNotDriftOverADay) {
  SchedulerFixture f;
  LateTimers late(f.time, 16ms);
  f.services.timers = &late;
  SlotScheduler sched(f.controls, f.services, f.fields, f.guard);
  f.check21.setValue(1);
  f.addFile("a.wav");
  f.mens[0].setText("a.wav");
  f.cont[0].setText("59");
  f.time.advance(123ms);
  const auto armedAt = f.time.monotonic();
  f.check[0].setValue(1);
  sched.onSlotCheckChanged(0);
  std::vector<long long> at;
  f.host.onCall = [&](const std::string& c) {
    if (c.rfind("TransmitFile", 0) == 0) at.push_back((f.time.monotonic() - armedAt).count());
  };
  f.time.advance(24h + 1s);
  ASSERT_EQ(at.size(), 86400u / 60);
  for (size_t k = 0; k < at.size(); ++k) EXPECT_LE(std::abs(at[k] - 60000 * (long long)(k + 1)), 100) << k;
}

TEST(SlotTick, AHeldUpThreadCatchesUpWithOneSend) {
  SchedulerFixture f;
  f.check21.setValue(1);
  f.arm(0, "a.wav", "5");
  f.arm(1, "b.wav", "100");
  f.seconds(2);  // slot 1 at 3
  f.time.jump(20s);  // 22 s: slot 1 would have sent at 6, 12 and 18 s
  f.seconds(0);
  EXPECT_EQ(f.sends(), std::vector<std::string>{kSendA});
  EXPECT_EQ(f.temp[0].text(), "1");  // the countdown is where the schedule is
  EXPECT_EQ(f.temp[1].text(), "78");
  EXPECT_EQ(f.host.count("SecondBusyFlag"), 1);
  f.seconds(1);
  EXPECT_EQ(f.sends().size(), 1u);
  f.seconds(1);  // 24 s: the turn the schedule had kept
  EXPECT_EQ(f.sends().size(), 2u);

  f.host.secondBusy = true;
  f.time.jump(60s);
  f.seconds(0);
  EXPECT_EQ(f.host.count("SecondBusyFlag"), 3);  // one question for the whole hold-up
  EXPECT_EQ(f.temp[0].text(), "0");
}
