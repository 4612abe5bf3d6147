// The millisecond tick counter on Linux.
#pragma once

#include "platform/clock.h"

namespace pellox {

// Counts milliseconds of CLOCK_MONOTONIC, so setting the wall clock does not
// move it.
class MonotonicTickClock : public TickClock {
 public:
  // The monotonic clock in milliseconds modulo 2^32. Never fails.
  uint32_t TickCount() override;
};

}  // namespace pellox
