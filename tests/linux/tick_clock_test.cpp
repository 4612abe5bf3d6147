#include "platform/linux/tick_clock.h"

#include <gtest/gtest.h>
#include <time.h>

namespace pellox::testing {
namespace {

uint32_t MonotonicMsNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

TEST(MonotonicTickClockTest, FollowsTheMonotonicClockModulo2To32) {
  MonotonicTickClock clock;
  const uint32_t before = MonotonicMsNow();
  const uint32_t tick = clock.TickCount();
  const uint32_t after = MonotonicMsNow();
  // Differences modulo 2^32, so a wrap between the readings does not matter.
  EXPECT_LE(static_cast<uint32_t>(tick - before), static_cast<uint32_t>(after - before));
}

TEST(MonotonicTickClockTest, MovesOnAfterASleep) {
  MonotonicTickClock clock;
  const uint32_t start = clock.TickCount();
  timespec pause{0, 5L * 1000 * 1000};
  nanosleep(&pause, nullptr);
  EXPECT_GE(static_cast<uint32_t>(clock.TickCount() - start), 5u);
}

}  // namespace
}  // namespace pellox::testing
