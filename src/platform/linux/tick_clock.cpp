#include "platform/linux/tick_clock.h"

#include <time.h>

namespace pellox {

uint32_t MonotonicTickClock::TickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  // Unsigned arithmetic wraps, which is the modulo 2^32 the counter promises.
  uint64_t ms =
      static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

}  // namespace pellox
