#include "tests/support/virtual_time.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orv::test;
using namespace std::chrono_literals;

TEST(VirtualTime, TicksInTimeOrderAndCreationOrderOnTies) {
  VirtualTime vt;
  std::vector<std::string> seen;
  auto a = vt.create([&] { seen.push_back("a" + std::to_string(vt.monotonic().count())); });
  auto b = vt.create([&] { seen.push_back("b" + std::to_string(vt.monotonic().count())); });
  b->start(500ms);
  a->start(1000ms);
  vt.advance(2000ms);
  EXPECT_EQ(seen, (std::vector<std::string>{"b500", "a1000", "b1000", "b1500", "a2000", "b2000"}));
}

TEST(VirtualTime, TimerDestroyedInsideItsOwnTickStopsCleanly) {
  VirtualTime vt;
  int n = 0;
  std::unique_ptr<orv::Timer> t;
  t = vt.create([&] { ++n; t.reset(); });
  t->start(100ms);
  vt.advance(1000ms);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(vt.runningTimers(), 0);
}

TEST(VirtualTime, JumpMovesTheClockWithoutTicks) {
  VirtualTime vt;
  int n = 0;
  auto t = vt.create([&] { ++n; });
  t->start(1000ms);
  vt.jump(5000ms);
  EXPECT_EQ(n, 0);
  vt.advance(0ms);
  EXPECT_EQ(n, 1);  // an overdue timer ticks once, as a window timer does
}
