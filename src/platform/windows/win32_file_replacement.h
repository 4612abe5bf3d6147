// The two ways a save replaces a file's contents on Windows.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "platform/windows/scoped_handle.h"

namespace pellox::win32 {

// The temporary file's name: "~pellox" and four hexadecimal digits, then
// ".tmp". Short and fixed, so that it fits beside most targets (where it
// does not, the save goes in place).
constexpr char kTempPrefix[] = "~pellox";
constexpr char kTempSuffix[] = ".tmp";
constexpr size_t kTempNameLength = 15;

// A new file in `folder` (with its trailing separator) that Commit moves
// onto `target`, with the attributes (hidden, system, ...) and the access
// control list of an existing target, as ReplaceFileW keeps them. The save
// removes it again when it fails; a temporary file of a save that was
// killed is left alone, since nothing proves later whose it is. Returns
// null when a temporary name there would make a path of MAX_PATH bytes or
// more, when the folder refuses a new file (access denied), or when the
// new file cannot get the target's owner and access control list; the
// caller then saves in place.
std::unique_ptr<FileReplacement> CreateMovingReplacement(const std::string& folder,
                                                         const std::string& target);

// Writes over the file at `path` in place (InPlaceOverwrite), with a
// KeptCopy of an existing file's old contents on the disk meanwhile; the
// old contents are written back when the save fails, a file that did not
// exist is deleted again. A file that another save is writing is waited
// for a little, then refused (ERROR_SHARING_VIOLATION).
std::unique_ptr<FileReplacement> CreateInPlaceReplacement(const std::string& path, bool exists);

}  // namespace pellox::win32
