// A Platform wired from the fakes, with any of its parts replaced by a real
// one (or another double) that the test owns: the one place where tests,
// the Qt window fixture and the benchmarks assemble a Platform.
#pragma once

#include <type_traits>

#include "fake_platform.h"
#include "platform/platform.h"

namespace pellox::testing {

// The parts to use instead of the fakes; null keeps the fake.
struct PlatformParts {
  TickClock* clock = nullptr;
  MessagePump* pump = nullptr;
  Launcher* launcher = nullptr;
  PrinterSystem* printers = nullptr;
  FileSystem* files = nullptr;
  ProcessInfo* process = nullptr;
  RunProgress* progress = nullptr;
};

class PlatformHarness {
 public:
  explicit PlatformHarness(const PlatformParts& real = {})
      : platform{Pick(real.clock, clock),       Pick(real.pump, pump),
                 Pick(real.launcher, launcher), Pick(real.printers, printers),
                 Pick(real.files, files),       Pick(real.process, process),
                 Pick(real.progress, progress)} {}
  PlatformHarness(const PlatformHarness&) = delete;
  PlatformHarness& operator=(const PlatformHarness&) = delete;

  FakeClock clock;
  FakePump pump{clock};
  RecordingLauncher launcher{clock};
  FakePrinterSystem printers;
  FakeFileSystem files;
  FakeProcessInfo process;
  RecordingRunProgress progress;
  Platform platform;

 private:
  template <typename Part>
  static Part& Pick(Part* real, std::type_identity_t<Part>& fake) {
    return real ? *real : fake;
  }
};

}  // namespace pellox::testing
