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
  explicit ListFileWriter(File& file) : file_(file) {}

  void WriteInteger(int32_t value);
  void WriteLine(std::string_view text);
  // Writes out the buffer and closes the file.
  void Close();

 private:
  static constexpr size_t kBufferSize = 64 * 1024;
  void Flush();

  File& file_;
  std::string buffer_;
};

}  // namespace pellox
