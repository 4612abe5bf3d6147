// Reads list files leniently: CR, CR LF and a lone LF end a line; the data
// end at the physical end or at the first 0x1A byte. System-independent code
// only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace pellox {

class ListFileReader {
 public:
  explicit ListFileReader(File& file) : file_(file) {}

  // Skips every byte of 0x20 or less (across line ends), takes the token of
  // at most 32 bytes above 0x20 that follows, then skips the rest of its
  // line and the line end. Gives 0 at the end of data and no value for a
  // token that is no number.
  std::optional<int32_t> ReadInteger();

  // The bytes up to the next line end or the end of data, of any length,
  // into `line` (replacing its text, reusing its room); then skips the line
  // end. Empty at the end of data. On a read error `line` holds no certain
  // text.
  void ReadLine(std::string& line);

 private:
  static constexpr size_t kBufferSize = size_t{64} * 1024;
  static constexpr size_t kMaxToken = 32;

  // The next byte, or -1 at the end of data. Inline for the common case of
  // a byte in the buffer: it is asked for several times per line.
  int Peek() {
    return pos_ < buffer_.size() ? static_cast<unsigned char>(buffer_[pos_]) : PeekAfterFill();
  }
  int PeekAfterFill();
  bool Fill();
  void SkipLineEnd();
  void SkipRestOfLine();

  File& file_;
  std::vector<char> buffer_;
  size_t pos_ = 0;
  bool endOfData_ = false;
};

}  // namespace pellox
