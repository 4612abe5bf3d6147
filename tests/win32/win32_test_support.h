// Helpers of the Win32 tests: a private temporary folder, whole-file reads
// and writes through the C runtime (independent of the layer under test),
// paths of the programs built beside the tests, and bounded waits.
#pragma once

#include "platform/win32/win32_api.h"

#include <functional>
#include <string>
#include <vector>

namespace pellox::win32::testing {

// A new, empty folder under the user's temporary folder, removed with all
// its files at the end. Path() ends with "\".
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }
  // Names of the files in the folder matching `pattern` ("*.done").
  std::vector<std::string> Files(const std::string& pattern) const;

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// A Unix path of the build tree as Wine's Z: drive shows it.
std::string WinePath(const std::string& unixPath);

// The folder of the running test program, with a trailing "\".
std::string OwnFolder();

// Polls `done` (processing this thread's messages in between) until it
// holds or `timeoutMs` passed; returns whether it held.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 30000);

// Handles every message waiting in this thread's queue.
void DrainMessages();

// Sets or clears the thread's pressed state of `key` (VK_SHIFT, VK_CONTROL),
// as the keyboard modifiers read by GetKeyState.
void SetKeyHeld(int key, bool held);

}  // namespace pellox::win32::testing
