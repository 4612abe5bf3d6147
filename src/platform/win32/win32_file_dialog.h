// OpenDialog1 or SaveDialog1: the system's file dialog shown from the
// properties the core keeps for it (FileDialogState).
#pragma once

#include "platform/windows/win32_api.h"

#include "window/file_dialog.h"

namespace pellox::win32 {

class Win32FileDialog {
 public:
  explicit Win32FileDialog(DialogKind kind) : kind_(kind) {}

  FileDialogState& State() { return state_; }
  const FileDialogState& State() const { return state_; }

  // Shows the dialog modal to `owner`, centred on the owner's monitor (a
  // third from the top). True when a file name was confirmed; the state then
  // holds its full path (with the default extension where the name had none)
  // and the filter choice. A path over kMaxDialogPath characters, a cancel
  // or a failure give false and change nothing.
  bool Show(HWND owner);

 private:
  DialogKind kind_;
  FileDialogState state_;
};

}  // namespace pellox::win32
