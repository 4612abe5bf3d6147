// List file access on Windows.
#pragma once

#include "platform/file_system.h"

namespace pellox::win32 {

// Files through CreateFileA and friends. Every failure raises EInOutError
// with GetLastError(); a path of MAX_PATH (260) bytes or more fails with
// ERROR_FILENAME_EXCED_RANGE instead of being shortened to another name.
class Win32FileSystem : public FileSystem {
 public:
  // GENERIC_READ, shared for reading, OPEN_EXISTING; whatever is no disk
  // file (NUL, CON, COM1, a pipe) fails at once with ERROR_ACCESS_DENIED.
  std::unique_ptr<File> OpenForReading(const std::string& path) override;

  // A disk file with one name is replaced by a temporary file beside it
  // (MoveFileExA, write-through) that takes over its attributes and access
  // control list. One with several names (hard links) or alternate data
  // streams, one whose owner or access control list a new file could not
  // take, or one in a folder that refuses new files or has no room for a
  // temporary name within MAX_PATH, is overwritten in place
  // (CreateInPlaceReplacement: a copy of its old contents kept meanwhile).
  // A read-only file, a folder and whatever is no disk file are refused
  // with ERROR_ACCESS_DENIED.
  std::unique_ptr<FileReplacement> Replace(const std::string& path) override;
};

}  // namespace pellox::win32
