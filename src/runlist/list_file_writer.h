// Writes list files: decimal integers and cell texts, each line ending in
// CR LF, through a buffer. System-independent code only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace pellox {

class ListFileWriter {
 public:
  explicit ListFileWriter(FileReplacement& output) : output_(output) {}

  void WriteInteger(int32_t value);
  void WriteLine(std::string_view text);
  // Writes out the buffer and commits the new contents.
  void Finish();

 private:
  static constexpr size_t kBufferSize = size_t{64} * 1024;
  void Flush();

  FileReplacement& output_;
  std::string buffer_;
};

}  // namespace pellox
