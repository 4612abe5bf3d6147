// The two ways a save replaces a file's contents on Linux.
#pragma once

#include <sys/stat.h>

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace pellox {

// The name of a temporary file where the file system has no unnamed files:
// short and fixed, so that it fits wherever the target's name fits.
constexpr char kTempNamePrefix[] = ".pellox-";
constexpr size_t kTempNameRandomChars = 6;

// A new file in the folder open as `folderFd` (the replacement takes it
// over) that is renamed onto `name` by Commit, with permission bits `mode`.
// The file has no name while it is written, where the file system offers
// that; otherwise it has a temporary name, which the save removes again
// when it fails. A temporary file of a save that was killed is left alone:
// nothing proves later whose it is. An existing file at `name` is locked
// against saves in place until the rename.
std::unique_ptr<FileReplacement> CreateRenamingReplacement(int folderFd, const std::string& name,
                                                           mode_t mode);

// Writes over the regular file `name` in the folder open as `folderFd`
// (taken over), described by `info`, in place (InPlaceOverwrite), locked
// against other saves, with a KeptCopy of its old contents on the disk
// meanwhile; the old contents are written back when the save fails. In a
// sticky folder the file is opened with O_CREAT, so that the kernel's
// protection of other users' files there (fs.protected_regular) applies.
std::unique_ptr<FileReplacement> CreateInPlaceReplacement(int folderFd, const std::string& name,
                                                          const struct stat& info);

}  // namespace pellox
