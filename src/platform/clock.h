// The millisecond tick counter. System-independent interface; the platform
// folders implement it.
#pragma once

#include <cstdint>

namespace pellox {

class TickClock {
 public:
  virtual ~TickClock() = default;
  // Milliseconds since an arbitrary start, as a 32-bit count that wraps to 0
  // after 2^32 ms. Never fails.
  virtual uint32_t TickCount() = 0;
};

}  // namespace pellox
