// A fixture that starts pellox.exe as a user does, as a real process with
// its own command line, and reads what it did: the marker programs its list
// started, its main window, its exit code.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows/scoped_handle.h"
#include "temp_folder.h"
#include "win32_test_support.h"

namespace pellox::testing {

class PelloxExeTest : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableA("PELLOX_MARKER_DIR", folder_.Path().c_str()); }
  void TearDown() override {
    if (process_.IsValid() && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.Get(), 99);
    }
    SetEnvironmentVariableA("PELLOX_MARKER_DIR", nullptr);
  }

  struct Entry {
    int Delay;
    std::string Program;
    std::string Parameter;
  };

  // Writes a list file with the printer choice and the entries.
  std::string WriteEntries(const std::vector<Entry>& entries, int printerChoice = 0) {
    std::string text =
        std::to_string(printerChoice) + "\r\n" + std::to_string(entries.size()) + "\r\n";
    for (const Entry& entry : entries) {
      text +=
          std::to_string(entry.Delay) + "\r\n" + entry.Program + "\r\n" + entry.Parameter + "\r\n";
    }
    std::string path = folder_ / "run list.lst";
    WriteFile(path, text);
    return path;
  }

  // A list file with the printer choice and one marker entry (delay 0) per
  // parameter.
  std::string WriteList(const std::vector<std::string>& parameters, int printerChoice = 0) {
    std::vector<Entry> entries;
    for (const std::string& parameter : parameters) entries.push_back({0, marker_, parameter});
    return WriteEntries(entries, printerChoice);
  }

  void Start(const std::string& arguments, WORD showCommand = SW_SHOWNORMAL) {
    StartProgram(exe_, arguments, "", showCommand);
  }

  // Starts `program` with `arguments` in the current folder `folder` (the
  // test's own when empty).
  void StartProgram(const std::string& program, const std::string& arguments,
                    const std::string& folder, WORD showCommand = SW_SHOWNORMAL) {
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        << commandLine;
    CloseHandle(info.hThread);
    process_ = win32::ScopedHandle(info.hProcess);
    processId_ = info.dwProcessId;
  }

  // The exit code, or -1 when the program did not end within the bound.
  long ExitCode(DWORD timeoutMs = 60000) {
    if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return static_cast<long>(code);
  }

  // The parameters the markers saw, in the order they were started.
  std::vector<std::string> StartedParameters(size_t expected) {
    EXPECT_TRUE(WaitFor([&] { return MarkerStarts(folder_.Path()).size() >= expected; }));
    std::vector<std::string> parameters;
    for (const MarkerStart& start : MarkerStarts(folder_.Path())) {
      parameters.push_back(start.CommandLine.substr(start.CommandLine.find_last_of(' ') + 1));
    }
    return parameters;
  }

  HWND FindMainWindow() {
    HWND found = nullptr;
    WaitFor([&] {
      found = nullptr;
      for (HWND w = FindWindowExA(nullptr, nullptr, "PelloxForm1", nullptr); w;
           w = FindWindowExA(nullptr, w, "PelloxForm1", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId_) found = w;
      }
      return found != nullptr;
    });
    return found;
  }

  TempFolder folder_;
  const std::string exe_ = WinePath(PELLOX_EXE);
  const std::string marker_ = OwnFolder() + "pellox_marker.exe";
  win32::ScopedHandle process_;
  DWORD processId_ = 0;
};

}  // namespace pellox::testing
