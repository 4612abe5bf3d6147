// The copy of a list's old contents that an in-place save keeps on the disk.
#pragma once

#include <string>

#include "platform/windows/scoped_handle.h"

namespace pellox::win32 {

// A complete copy of a file's old contents, on the disk before the file is
// touched, so that the old list survives a save that is stopped while the
// file does not load. It is made beside the file as "NAME.pellox-kept.lst"
// (or "NAME.pellox-kept-2.lst" and so on) where that path fits within
// MAX_PATH and the folder takes a new file, else in the user's local
// application data folder ("%LOCALAPPDATA%\Pellox"), else in the temporary
// folder. It is never put over another file, and only the save that made
// it removes it (through its own handle, so never a file that took its
// name).
class KeptCopy {
 public:
  // Copies `contents` of the file at `path`. Raises EInOutError when no
  // copy could be kept anywhere (with the error met beside the file).
  KeptCopy(const std::string& path, const std::string& contents);

  // Removes the copy; once the file holds its old or its new contents on
  // the disk again.
  void Remove() noexcept;

 private:
  // Makes the copy as `name` (cut to fit) in `folder` (with its trailing
  // separator); ERROR_SUCCESS, or the error that stopped it (nothing of it
  // is left then).
  DWORD MakeIn(const std::string& folder, const std::string& name, const std::string& contents);

  ScopedHandle handle_;  // open for deleting, until Remove
};

}  // namespace pellox::win32
