// A minimal platform for the window tests: a clock that runs ahead on every
// reading, a launcher that records, named printers, files that cannot be
// opened and a fixed program path without arguments.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellox::test {

class StubClock : public TickClock {
 public:
  uint32_t TickCount() override { return now_ += 1000; }

 private:
  uint32_t now_ = 0;
};

class StubLauncher : public Launcher {
 public:
  void Open(void*, const std::string& file, const std::string&) override { Opened.push_back(file); }
  std::vector<std::string> Opened;
};

class StubPrinters : public PrinterSystem {
 public:
  explicit StubPrinters(std::vector<std::string> names) : names_(std::move(names)) {}

  uint32_t PlatformId() override { return platform_id::kWin32Nt; }
  EnumPrintersResult EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                  std::vector<PrinterRecord>& records) override;
  std::string GetProfileString(const std::string&, const std::string&, const std::string& fallback,
                               size_t) override {
    return fallback;
  }
  void WriteProfileString(const std::string&, const std::string&, const std::string&) override {}
  void BroadcastSettingChange(const std::string&) override {}
  std::string SystemErrorText(uint32_t) override { return "error"; }

 private:
  std::vector<std::string> names_;
};

class StubFiles : public FileSystem {
 public:
  std::unique_ptr<File> OpenForReading(const std::string& path) override;
  std::unique_ptr<FileReplacement> Replace(const std::string& path) override;
};

class StubProcess : public ProcessInfo {
 public:
  std::string ModuleFileName() override { return "/opt/pellox tools/bin/pellox"; }
  std::vector<std::string> Arguments() override { return {}; }
  std::string PathSeparators() override { return "/"; }
};

}  // namespace pellox::test
