// Helpers of the Win32 tests: what the marker programs started by a test
// saw, window and clipboard texts, message boxes, paths of the programs
// built beside the tests, bounded waits and the printer settings.
#pragma once

#include "platform/windows/win32_api.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pellox::testing {

// One start of the marker program (marker.cpp): its creation time, which
// orders the starts, and its whole command line.
struct MarkerStart {
  std::string Created;
  std::string CommandLine;
};
// The starts whose markers finished writing into `folder` (the
// PELLOX_MARKER_DIR of the markers), in the order they were started.
std::vector<MarkerStart> MarkerStarts(const std::string& folder);

// `text` with its ASCII letters in lower case.
std::string Lower(std::string text);

// A window's whole text (a caption, a field's contents).
std::string WindowText(HWND window);
// A window's class name, in lower case.
std::string ClassOf(HWND window);
// The texts of a combo box's items, in their order.
std::vector<std::string> ComboItems(HWND combo);

// Puts `text` on the clipboard as CF_TEXT, as a copy in another program
// would.
void PutTextOnClipboard(const std::string& text);

// What a message box showed while it was open.
struct SeenBox {
  bool Found = false;
  bool OwnerDisabled = false;
  std::wstring Caption;
  std::wstring Text;
  // The names of the box and of its text as assistive technology reads
  // them (UTF-8), from the system's accessible objects.
  std::string AccessibleCaption;
  std::string AccessibleText;
};
// Calls `open`, which shows a message box owned by `owner` (null for none)
// on this thread; a timer reads the box's caption and message text with the
// wide functions and confirms it with OK.
SeenBox ReadMessageBox(HWND owner, const std::function<void()>& open);

// The top-level windows of process `processId` that the taskbar shows a
// button for: visible, and either marked as application windows or neither
// owned nor tool windows.
std::vector<HWND> TaskbarWindows(DWORD processId);

// A visible dialog box (a file dialog, a message box) of process
// `processId`, or null.
HWND VisibleDialogOf(DWORD processId);
// Types `name` into an open file dialog's name field and confirms it (OK)
// or cancels it, as a user would; works across processes.
void AnswerFileDialog(HWND dialog, const std::string& name, bool confirm = true);

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

// The printers of the private CUPS scheduler the program runs beside (under
// pellox_private_cups, which Wine's spooler shows as Windows printers);
// nothing when it runs without one.
std::optional<std::vector<std::string>> PrivateCupsPrinters();

// The printer names EnumPrintersA lists (local and connections, level 4),
// in the system's order.
std::vector<std::string> SystemPrinterNames();

// The profile's "windows"/"device" value and the system's default printer,
// read with the system calls themselves.
std::string DeviceValue();
std::string SystemDefaultPrinter();

// Keeps the "device" value as it was at construction and writes it back at
// the end, so that a test's printer switch does not reach the next test.
class SavedDeviceValue {
 public:
  SavedDeviceValue() : saved_(DeviceValue()) {}
  ~SavedDeviceValue();
  SavedDeviceValue(const SavedDeviceValue&) = delete;
  SavedDeviceValue& operator=(const SavedDeviceValue&) = delete;

 private:
  std::string saved_;
};

}  // namespace pellox::testing
