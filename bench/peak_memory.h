// Peak memory of one piece of work, measured in a forked child so that
// nothing the benchmark itself allocated earlier counts.
#pragma once

#include <cstdint>
#include <functional>

namespace pellox::bench {

// Forks; the child runs `prepare` (not counted), then `work`, and reports
// how far its peak resident set (VmHWM) rose above the resident set it had
// when `work` began. Returns -1 when the child failed.
int64_t PeakRssGrowth(const std::function<void()>& prepare, const std::function<void()>& work);

// The same in this process, for work that needs the process's own Qt
// application (which a forked child cannot use). Call it before anything
// else has raised the peak, or rely on the kernel resetting it (VmHWM reset
// through /proc/self/clear_refs).
int64_t PeakRssGrowthHere(const std::function<void()>& prepare, const std::function<void()>& work);

}  // namespace pellox::bench
