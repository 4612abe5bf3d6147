// The two ways a save replaces a file's contents on Windows.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/win32/scoped_handle.h"

namespace pellox::win32 {

// The temporary file's name: "~pellox" and four hexadecimal digits, then
// ".tmp". Short and fixed, so that it fits beside most targets (where it
// does not, the save goes in place), and known to the next save, which
// removes what a killed save left behind.
constexpr char kTempPrefix[] = "~pellox";
constexpr char kTempSuffix[] = ".tmp";
constexpr size_t kTempNameLength = 15;

// A new file in `folder` (with its trailing separator) that Commit moves
// onto `target`. Temporary files of killed saves in the folder are removed
// first. Returns null when a temporary name there would make a path of
// MAX_PATH bytes or more, or when the folder refuses a new file (access
// denied); the caller then saves in place.
std::unique_ptr<FileReplacement> CreateMovingReplacement(const std::string& folder,
                                                         const std::string& target);

// Writes over the file at `path` in place; the old contents of an existing
// file are read first and written back when the save fails, a file that
// did not exist is deleted again.
std::unique_ptr<FileReplacement> CreateInPlaceReplacement(const std::string& path, bool exists);

}  // namespace pellox::win32
