// The decorative animations: one frame timer for all, resting while the
// window is minimised.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win/decor.h"
#include "platform/win/scoped.h"
#include "tests/support/win/pump_messages.h"

using namespace orv::win;
using orv::test::PumpMessagesFor;

TEST(Animation, BothMoveOnOneTimerAndRestWhileTheWindowIsMinimised) {
  UniqueWindow top(CreateWindowExW(0, L"STATIC", L"anim", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 300, 200,
                                   nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(top);
  AnimationControl left, right;
  ASSERT_TRUE(left.Create(top.get(), 0, 8, 41, 49, 0, RGB(255, 255, 255)));
  ASSERT_TRUE(right.Create(top.get(), 200, 0, 57, 65, 1, RGB(255, 255, 255)));
  ShowWindow(top.get(), SW_SHOWNOACTIVATE);
  UpdateWindow(top.get());
  EXPECT_EQ(AnimationControl::Moving(), 2);
  PumpMessagesFor(1300);
  EXPECT_GE(left.frame(), 2);
  EXPECT_EQ(left.frame(), right.frame()) << "one timer moves both";

  ShowWindow(top.get(), SW_MINIMIZE);
  PumpMessagesFor(900);
  EXPECT_EQ(AnimationControl::Moving(), 0);
  const int rested = left.frame();
  PumpMessagesFor(900);
  EXPECT_EQ(left.frame(), rested);

  ShowWindow(top.get(), SW_RESTORE);
  UpdateWindow(top.get());
  EXPECT_EQ(left.frame(), rested) << "goes on from the frame it rested on";
  PumpMessagesFor(1300);
  EXPECT_NE(left.frame(), rested);
  EXPECT_EQ(AnimationControl::Moving(), 2);
}
