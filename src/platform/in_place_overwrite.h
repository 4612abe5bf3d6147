// How a file's contents are overwritten in place, so that a write stopped
// at any moment (a kill, a crash, a failing disk) leaves the old contents,
// the new contents, or contents that do not load as a list, never a mix
// that loads. System-independent: the platform layers give it the file's
// operations, and keep a complete copy of the old contents on the disk for
// the moments when the file does not load.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/end_of_data.h"

namespace pellox {

// The list format's end-of-data byte. A file that begins with it reads as
// an empty file, which never loads as a list.
inline constexpr char kUnloadableMark = kEndOfDataByte;

// The open file being overwritten. Each call raises EInOutError when it
// fails.
class OverwrittenFile {
 public:
  virtual ~OverwrittenFile() = default;
  virtual void WriteAt(uint64_t offset, const char* data, size_t size) = 0;
  virtual void Truncate(uint64_t size) = 0;
  // Puts what was written on the disk.
  virtual void Sync() = 0;
};

// The file reads, at each moment:
// - until Start: its old contents;
// - from Start until Finish writes the first byte: it begins with the
//   end-of-data byte, which is on the disk before any other byte changes,
//   so it reads as empty whatever old and new bytes follow;
// - once Finish writes the first byte: the new contents, which were all on
//   the disk before it, that byte last.
// Restore goes back the same way: the mark first, the old first byte last.
class InPlaceOverwrite {
 public:
  InPlaceOverwrite(OverwrittenFile& file, std::string oldContents)
      : file_(file), oldContents_(std::move(oldContents)) {}

  // Marks the file as not loadable, on the disk.
  void Start();
  // The next `size` bytes of the new contents; the first one is held back.
  void Write(const char* data, size_t size);
  // Ends the file after the new contents, puts them on the disk, then the
  // first byte.
  void Finish();
  // Puts the old contents back, the same way; true when they are all back
  // on the disk (or were never touched). Raises nothing.
  bool Restore() noexcept;

 private:
  // Writes `contents` over the file, behind the mark, first byte last.
  void WriteWhole(const std::string& contents);

  OverwrittenFile& file_;
  std::string oldContents_;
  uint64_t written_ = 0;  // bytes of the new contents so far
  char firstByte_ = 0;
  bool started_ = false;
};

}  // namespace pellox
