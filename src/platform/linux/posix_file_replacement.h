// The two ways a save replaces a file's contents on Linux.
#pragma once

#include <sys/stat.h>

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace pellox {

// The name pattern of a temporary file: short and fixed, so that it fits
// wherever the target's name fits, and known to the next save, which
// removes what a killed save left behind.
constexpr char kTempNamePrefix[] = ".pellox-";
constexpr size_t kTempNameRandomChars = 6;

// A new file in the folder open as `folderFd` (the replacement takes it
// over) that is renamed onto `name` by Commit, with permission bits `mode`.
// The file has no name while it is written, where the file system offers
// that; otherwise it holds a lock that tells the next save it is in use.
// Temporary files of killed saves in the folder are removed first.
std::unique_ptr<FileReplacement> CreateRenamingReplacement(int folderFd, const std::string& name,
                                                           mode_t mode);

// Writes over the regular file at `path`, described by `info`, in place;
// its old contents are read first and written back when the save fails.
std::unique_ptr<FileReplacement> CreateInPlaceReplacement(const std::string& path,
                                                          const struct stat& info);

}  // namespace pellox
