// The copy of a list's old contents that an in-place save keeps on the disk.
#pragma once

#include <sys/types.h>

#include <string>

namespace pellox {

// A complete copy of a file's old contents, on the disk (data and name)
// before the file is touched, so that the old list survives a save that is
// stopped while the file does not load. It is made beside the file where
// the folder takes a new file, as "NAME.pellox-kept.lst" (or
// "NAME.pellox-kept-2.lst" and so on when that name is taken), else in the
// user's cache folder ($XDG_CACHE_HOME, or ~/.cache, then "pellox"). It is
// never put over another file, and removed only by the save that made it.
class KeptCopy {
 public:
  // Copies `contents` of the file `name` in the folder open as `folderFd`.
  // Raises EInOutError when no copy could be kept anywhere (with the error
  // met beside the file), so that nothing is overwritten without one.
  KeptCopy(int folderFd, const std::string& name, const std::string& contents);
  ~KeptCopy();
  KeptCopy(const KeptCopy&) = delete;
  KeptCopy& operator=(const KeptCopy&) = delete;

  // Removes the copy, as long as its name still leads to it; once the file
  // holds its old or its new contents on the disk again.
  void Remove() noexcept;

 private:
  // Makes the copy in the folder open as `folderFd`; 0, or the errno that
  // stopped it (nothing of it is left then).
  int MakeIn(int folderFd, const std::string& name, const std::string& contents);

  int folderFd_ = -1;  // where the copy is
  std::string name_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

}  // namespace pellox
