#include "runlist/list_file_writer.h"

namespace pellox {

void ListFileWriter::WriteInteger(int32_t value) { WriteLine(std::to_string(value)); }

void ListFileWriter::WriteLine(std::string_view text) {
  buffer_.append(text);
  buffer_.append("\r\n");
  if (buffer_.size() >= kBufferSize) Flush();
}

void ListFileWriter::Flush() {
  if (buffer_.empty()) return;
  output_.Write(buffer_.data(), buffer_.size());
  buffer_.clear();
}

void ListFileWriter::Finish() {
  Flush();
  output_.Commit();
}

}  // namespace pellox
