// Scripted stand-ins for the operating system, for the core's tests: a
// virtual clock driven by the message pump, scheduled "user" actions that
// run inside waits, a recording launcher, scripted printers and profile, and
// an in-memory file layer that can fail any operation.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellox::testing {

// Virtual time: Now() counts milliseconds from the test's start; the counter
// the core reads starts at `origin` and wraps like the real one.
class FakeClock : public TickClock {
 public:
  uint32_t TickCount() override { return static_cast<uint32_t>(origin + now); }
  uint64_t Now() const { return now; }

  uint64_t origin = 1000;
  uint64_t now = 0;
};

// A clock that moves a second on at every reading, for a form on a real
// message pump: every wait the core times is over at once.
class SteppingClock : public TickClock {
 public:
  uint32_t TickCount() override { return now_ += 1000; }

 private:
  uint32_t now_ = 0;
};

// Messages are actions scheduled at a virtual time; processing runs those
// that are due. Waiting moves the clock on to the next action or the
// timeout, so a test never sleeps.
class FakePump : public MessagePump {
 public:
  explicit FakePump(FakeClock& clock) : clock_(clock) {}

  bool ProcessPendingMessages() override;
  void WaitForMessage(uint32_t timeoutMs) override;
  void PostQuit() override { quitPending_ = true; }

  // Runs `action` as a message once the clock reaches `at` ms.
  void At(uint64_t at, std::function<void()> action);
  // Runs `action` at the next processing of messages.
  void Post(std::function<void()> action) { At(clock_.Now(), std::move(action)); }

  int ProcessCalls() const { return processCalls_; }
  int WaitCalls() const { return waitCalls_; }
  int QuitRequestsTaken() const { return quitsTaken_; }
  bool QuitPending() const { return quitPending_; }

 private:
  FakeClock& clock_;
  std::multimap<uint64_t, std::function<void()>> scheduled_;
  bool quitPending_ = false;
  int processCalls_ = 0;
  int waitCalls_ = 0;
  int quitsTaken_ = 0;
};

class RecordingLauncher : public Launcher {
 public:
  explicit RecordingLauncher(FakeClock& clock) : clock_(clock) {}
  struct Launch {
    void* Owner;
    std::string File;
    std::string Parameters;
    uint64_t At;
  };
  void Open(void* owner, const std::string& file, const std::string& parameters) override {
    launches.push_back({owner, file, parameters, clock_.Now()});
    if (afterLaunch) afterLaunch();
  }
  std::vector<Launch> launches;
  // Runs after each launch is recorded: a test raises an error there to end
  // a run after some of its entries.
  std::function<void()> afterLaunch;

 private:
  FakeClock& clock_;
};

// Records what a run shows on the desktop's progress display: "k/N" for
// each Show, "clear" for each Clear, in order.
class RecordingRunProgress : public RunProgress {
 public:
  void Show(int32_t entry, int32_t count) override {
    shown = std::to_string(entry) + "/" + std::to_string(count);
    calls.push_back(shown);
  }
  void Clear() override {
    shown.clear();
    calls.push_back("clear");
  }

  std::vector<std::string> calls;
  std::string shown;  // what the display shows now; empty when cleared
};

class FakePrinterSystem : public PrinterSystem {
 public:
  uint32_t PlatformId() override { return platformId; }
  EnumPrintersResult EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                  std::vector<PrinterRecord>& records) override;
  std::string GetProfileString(const std::string& section, const std::string& key,
                               const std::string& fallback, size_t bufferChars) override;
  void WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value) override;
  void BroadcastSettingChange(const std::string& section) override;
  std::string SystemErrorText(uint32_t code) override;

  uint32_t platformId = platform_id::kWin32Nt;
  std::vector<PrinterRecord> installed;
  std::optional<std::string> defaultPrinter;   // what the default query reports
  bool failSizeQuery = false;                  // the list's size query reports 0
  bool failFill = false;                       // the list's second call fails
  uint32_t defaultQueryError = 0;              // non-zero: the default query fails so
  std::map<std::string, std::string> profile;  // "section/key" -> value
  struct Call {
    uint32_t Flags;
    int Level;
    uint32_t BufferSize;
  };
  std::vector<Call> enumCalls;
  std::vector<std::string> profileWrites;  // "section/key=value"
  std::vector<std::string> broadcasts;
};

class FakeProcessInfo : public ProcessInfo {
 public:
  std::string ModuleFileName() override { return moduleFileName; }
  std::vector<std::string> Arguments() override { return arguments; }
  std::string PathSeparators() override { return "/"; }

  std::string moduleFileName = "/opt/pellox tools/pellox";
  std::vector<std::string> arguments;
};

// An in-memory file layer. Paths name entries of `files`; a path ending in
// "/" or listed in `folders` is a folder.
class FakeFileSystem : public FileSystem {
 public:
  // Durable: what a commit does after the new contents took the file's
  // place (closing it, making the change last); its failure raises the
  // error with ContentsReplaced().
  enum class Op { Open, Read, Close, Replace, Write, Commit, Durable };

  std::unique_ptr<File> OpenForReading(const std::string& path) override;
  std::unique_ptr<FileReplacement> Replace(const std::string& path) override;

  // Makes the `nth` (counting from 1) call of `op` from now on fail with
  // EInOutError(code).
  void FailAt(Op op, int nth, int code);
  // Called by the fake files; throws when a failure is due.
  void Check(Op op);
  // How many reads a file may serve at most per call (to exercise refills).
  size_t readChunk = 7;
  // Replacements write straight into the file and put the old contents back
  // when they are dropped, as a save in place does; otherwise the new
  // contents stay aside until the commit, as with a temporary file.
  bool replaceInPlace = false;

  std::map<std::string, std::string> files;
  // The paths of replacements dropped without a successful commit.
  std::vector<std::string> dropped;

 private:
  std::map<Op, int> calls_;
  std::map<Op, std::pair<int, int>> failures_;  // op -> (call number, code)
};

}  // namespace pellox::testing
