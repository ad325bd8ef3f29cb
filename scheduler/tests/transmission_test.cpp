#include "scheduler/transmission.h"

#include "scheduler/message_path.h"
#include "scheduler/transmitter_guard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/form_fixture.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

const std::string kIdent = "C:\\Orvalen\\ident.wav";

class TransmissionTest : public ::testing::Test {
 protected:
  TransmissionTest() {
    fx.playback.lengths[kIdent] = 12.7;
    fx.fields.arquivoAtual = "ident.wav";
    tx.onPlaybackEnd([this] { guard.onPlaybackEnd(); });
    tx.start();
  }
  // Runs TOCA at the given virtual time (ms since start).
  void tocaAt(long long ms) {
    fx.time.advance(Millis(ms) - fx.time.monotonic());
    toca();
  }
  void toca() { guard.TOCA(MessagePath(fx.fields.caminho, fx.fields.arquivoAtual)); }
  void until(long long ms) { fx.time.advance(Millis(ms) - fx.time.monotonic()); }
  bool keyed() const { return fx.ptt.text() == "PTT ON"; }
  bool green() const { return fx.ptt.text() == "PTT OFF" && fx.ptt.textColor() == kPttOffColor; }
  std::string lastTransmit() const {
    auto calls = fx.host.callsStartingWith("SetTransmit");
    return calls.empty() ? "" : calls.back();
  }

  FormFixture fx;
  Transmission tx{fx.controls, fx.services, fx.fields};
  TransmitterGuard guard{fx.controls, fx.services, fx.fields, tx};
};

TEST_F(TransmissionTest, PlaysAFileAndUnkeysOneTickAfterTheLastSecondShows) {
  tocaAt(500);
  EXPECT_EQ(fx.host.calls, (std::vector<std::string>{"SetTransmit(0)", "SetTransmit(-1)"}));
  EXPECT_EQ(fx.playback.log,
            (std::vector<std::string>{"create", "render(" + kIdent + ")", "run", "seek(0)"}));
  EXPECT_EQ(fx.text3.text(), "00:00:12");
  EXPECT_EQ(fx.h1.maximum(), 13);
  EXPECT_EQ(fx.text2.text(), "00:00:00");
  EXPECT_TRUE(keyed());
  EXPECT_EQ(fx.ptt.textColor(), kPttOnColor);

  std::vector<std::string> used;
  for (int s = 1; s <= 13; ++s) {
    until(s * 1000);
    used.push_back(fx.text2.text());
    EXPECT_TRUE(keyed()) << "at " << s << " s";
  }
  EXPECT_EQ(used.front(), "00:00:00");
  EXPECT_EQ(used[5], "00:00:05");
  EXPECT_EQ(used.back(), "00:00:12");  // position 12.5 at 13 s
  EXPECT_EQ(fx.text1.text(), "00:00:00");
  EXPECT_EQ(fx.h1.value(), 12);        // 12.5 goes to the even neighbour
  EXPECT_EQ(fx.host.count("SetTransmit(0)"), 1);

  until(14000);
  EXPECT_TRUE(green());
  EXPECT_EQ(lastTransmit(), "SetTransmit(0)");
  EXPECT_EQ(fx.playback.live, 0);
  // Idle from here: unkeyed again every second.
  until(17000);
  EXPECT_EQ(fx.host.count("SetTransmit(0)"), 5);
}

TEST_F(TransmissionTest, FileShorterThanASecondEndsOnTheNextTick) {
  fx.playback.lengths[kIdent] = 0.6;
  tocaAt(500);
  EXPECT_EQ(fx.text3.text(), "00:00:00");
  EXPECT_EQ(fx.h1.maximum(), 1);
  EXPECT_TRUE(keyed());
  until(1000);
  EXPECT_TRUE(green());
  EXPECT_EQ(fx.playback.live, 0);
}

TEST_F(TransmissionTest, IdleProgramUnkeysEverySecondAndLeavesTheTimeBoxesAlone) {
  until(5000);
  EXPECT_EQ(fx.host.calls, std::vector<std::string>(5, "SetTransmit(0)"));
  EXPECT_TRUE(green());
  EXPECT_EQ(fx.text1.writes + fx.text2.writes + fx.text3.writes, 3);  // the fixture's own
  EXPECT_EQ(fx.playback.created, 0);
}

TEST_F(TransmissionTest, ManualVolumeAppliedAtStartOnlyWhenTicked) {
  tocaAt(100);
  EXPECT_EQ(std::count_if(fx.playback.log.begin(), fx.playback.log.end(),
                          [](const std::string& l) { return l.rfind("volume", 0) == 0; }),
            0);

  fx.useSetVol4.setValue(1);
  fx.playback.log.clear();
  toca();
  EXPECT_EQ(fx.playback.log, (std::vector<std::string>{"release", "create", "render(" + kIdent + ")",
                                                       "volume(-1404)", "run", "seek(0)"}));

  // Read in the user's locale, rounded half to even; a non-number is skipped.
  fx.volSet4.setText("-1404,5");
  fx.playback.log.clear();
  toca();
  EXPECT_EQ(fx.playback.log[3], "volume(-1404)");
  fx.volSet4.setText("-12x");
  fx.playback.log.clear();
  toca();
  EXPECT_EQ(fx.playback.log[3], "run");
  EXPECT_TRUE(keyed());
}

TEST_F(TransmissionTest, VolumeBarWritesTheBoxAndTheRunningGraph) {
  fx.v4.setValue(-2000);
  tx.onVolumeChanged();
  EXPECT_EQ(fx.volSet4.text(), "-2000");
  EXPECT_TRUE(fx.playback.log.empty());

  tocaAt(100);
  fx.v4.setValue(-3000);
  tx.onVolumeChanged();
  EXPECT_EQ(fx.volSet4.text(), "-3000");
  EXPECT_EQ(fx.playback.log.back(), "volume(-3000)");
}

TEST_F(TransmissionTest, SecondTocaReleasesTheFirstPlayback) {
  fx.playback.lengths["C:\\Orvalen\\aviso.wav"] = 30;
  tocaAt(500);
  until(3000);
  fx.fields.arquivoAtual = "aviso.wav";
  fx.host.calls.clear();
  toca();
  EXPECT_EQ(fx.playback.created, 2);
  EXPECT_EQ(fx.playback.released, 1);
  EXPECT_EQ(fx.playback.live, 1);
  EXPECT_EQ(fx.host.calls, (std::vector<std::string>{"SetTransmit(0)", "SetTransmit(-1)"}));
  EXPECT_EQ(fx.text3.text(), "00:00:30");
  EXPECT_EQ(fx.text2.text(), "00:00:00");
  EXPECT_EQ(fx.h1.maximum(), 30);
  EXPECT_TRUE(keyed());
}

TEST_F(TransmissionTest, UnplayableFileNeverKeysTheTransmitter) {
  // Missing file, a graph manager that cannot be created, a graph that will not run.
  for (int variant = 0; variant < 3; ++variant) {
    SCOPED_TRACE(variant);
    fx.playback.lengths[kIdent] = 12.7;
    toca();  // a playback on the air when the bad one comes
    ASSERT_TRUE(keyed());
    fx.fields.arquivoAtual = "missing.wav";
    if (variant == 1) fx.playback.createFails = true;
    if (variant == 2) {
      fx.fields.arquivoAtual = "ident.wav";
      fx.playback.runFails = true;
    }
    fx.host.calls.clear();
    toca();
    EXPECT_TRUE(green());
    EXPECT_EQ(lastTransmit(), "SetTransmit(0)");
    EXPECT_EQ(fx.playback.live, 0);
    EXPECT_FALSE(tx.playing());
    if (variant < 2) {
      EXPECT_EQ(fx.host.count("SetTransmit(-1)"), 0);
    }
    fx.playback.createFails = fx.playback.runFails = false;
    fx.fields.arquivoAtual = "ident.wav";
  }
}

TEST_F(TransmissionTest, StalledPlaybackIsReleasedAtLengthPlusFiveSeconds) {
  fx.playback.stalled = true;
  tocaAt(500);
  until(18100);
  EXPECT_TRUE(keyed());
  EXPECT_EQ(fx.text2.text(), "00:00:00");
  until(18200);
  EXPECT_TRUE(green());
  EXPECT_EQ(lastTransmit(), "SetTransmit(0)");
  EXPECT_EQ(fx.playback.live, 0);
}

TEST_F(TransmissionTest, OverstatedLengthIsReleasedAtReportedLengthPlusFiveSeconds) {
  fx.playback.durationError = 0.5;  // says 13.2 s, plays 12.7 s: "Time Used" never reaches "Length"
  tocaAt(500);
  EXPECT_EQ(fx.text3.text(), "00:00:13");
  until(18600);
  EXPECT_TRUE(keyed());
  EXPECT_EQ(fx.text2.text(), "00:00:12");
  until(18700);
  EXPECT_TRUE(green());
  EXPECT_EQ(fx.playback.live, 0);
}

TEST_F(TransmissionTest, SafetyNetKeepsAskingAHostThatWillNotUnkey) {
  fx.playback.stalled = true;
  tocaAt(500);
  fx.host.fail("SetTransmit(0");
  until(20200);
  EXPECT_TRUE(keyed());  // the indicator follows the host
  EXPECT_EQ(fx.playback.live, 0);
  fx.host.heal("SetTransmit(0");
  until(21200);
  EXPECT_TRUE(green());
}

TEST_F(TransmissionTest, SeekingBackDoesNotKeepTheTransmitterKeyedPastItsDeadline) {
  tocaAt(500);  // 12.7 s file keyed at 0.5 s: released by 18.2 s whatever happens
  until(8000);
  tx.onPositionScroll(0);
  EXPECT_EQ(fx.playback.log.back(), "seek(0)");
  until(18100);
  EXPECT_TRUE(keyed());
  until(18300);
  EXPECT_TRUE(green());
  EXPECT_EQ(fx.playback.live, 0);
}

TEST_F(TransmissionTest, SeekWithoutAPlaybackDoesNothing) {
  tx.onPositionScroll(5);
  EXPECT_TRUE(fx.playback.log.empty());
  until(1000);
  EXPECT_EQ(fx.h1.value(), 0);
}

TEST_F(TransmissionTest, CleanUpReturnsTheHostFailureAndLeavesTheIndicator) {
  tocaAt(500);
  fx.host.fail("SetTransmit(0");
  HostReply r = guard.release();
  EXPECT_FALSE(r.ok);
  EXPECT_FALSE(r.error.empty());
  EXPECT_TRUE(keyed());
  EXPECT_EQ(fx.playback.live, 0);  // the graph goes first whatever the host says
  fx.host.heal("SetTransmit(0");
  EXPECT_TRUE(guard.release().ok);
  EXPECT_TRUE(green());
}

TEST_F(TransmissionTest, ClockLabelWrittenOnlyWhenTheTextChanges) {
  fx.time.setWallStart(8 * 3600 + 59 * 60 + 58);
  const int before = fx.showTime.writes;
  until(3000);
  EXPECT_EQ(fx.showTime.text(), "09:00:01");
  EXPECT_EQ(fx.showTime.writes - before, 4);  // 08:59:58 at the first tick, then one per second
}

TEST_F(TransmissionTest, ClockLabelTurnsWithTheWallClockSecondWakingOnceASecond) {
  // The wall clock's seconds turn 263 ms after each monotonic one.
  fx.time.setWallStart(23 * 3600 + 59 * 60 + 55);
  fx.time.setWallStartMillis(737);
  until(200);
  const auto ticks = fx.time.ticksDelivered();
  const char* turns[] = {"23:59:56", "23:59:57", "23:59:58", "23:59:59", "00:00:00", "00:00:01"};
  for (int k = 0; k < 6; ++k) {
    const int unkeys = fx.host.count("SetTransmit(0)");
    until(263 + 1000 * k - 1);
    EXPECT_NE(fx.showTime.text(), turns[k]) << k;
    until(263 + 1000 * k + 20);
    EXPECT_EQ(fx.showTime.text(), turns[k]) << k;
    // The idle progress tick's unkey comes on the same turn, so the two
    // share one wake-up (from its second tick: its first was aimed before
    // the wall clock here was set).
    if (k > 1) EXPECT_EQ(fx.host.count("SetTransmit(0)"), unkeys + 1) << k;
  }
  // The clock and the progress tick, once a second each.
  EXPECT_LE(fx.time.ticksDelivered() - ticks, 12u);
}

}  // namespace
