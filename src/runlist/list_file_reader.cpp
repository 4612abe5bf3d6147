#include "runlist/list_file_reader.h"

#include <algorithm>
#include <cstring>

#include "common/int_parse.h"
#include "runlist/list_file_format.h"

namespace pellox {

bool ListFileReader::Fill() {
  if (endOfData_) return false;
  buffer_.resize(kBufferSize);
  size_t got = file_.Read(buffer_.data(), buffer_.size());
  buffer_.resize(got);
  pos_ = 0;
  if (const void* eof = std::memchr(buffer_.data(), kEndOfDataByte, got)) {
    // Nothing at or after the first 0x1A is ever read.
    buffer_.resize(static_cast<size_t>(static_cast<const char*>(eof) - buffer_.data()));
    endOfData_ = true;
  }
  if (got == 0) endOfData_ = true;
  return !buffer_.empty();
}

int ListFileReader::PeekAfterFill() {
  while (pos_ >= buffer_.size()) {
    if (!Fill()) return -1;
  }
  return static_cast<unsigned char>(buffer_[pos_]);
}

void ListFileReader::SkipLineEnd() {
  int c = Peek();
  if (c == kLF) {
    ++pos_;
  } else if (c == kCR) {
    ++pos_;
    if (Peek() == kLF) ++pos_;
  }
}

void ListFileReader::SkipRestOfLine() {
  for (int c = Peek(); c != -1 && c != kCR && c != kLF; c = Peek()) ++pos_;
  SkipLineEnd();
}

std::optional<int32_t> ListFileReader::ReadInteger() {
  int c = Peek();
  while (c != -1 && c <= ' ') {
    ++pos_;
    c = Peek();
  }
  if (c == -1) return 0;
  std::string token;
  while (c != -1 && c > ' ' && token.size() < kMaxToken) {
    token.push_back(static_cast<char>(c));
    ++pos_;
    c = Peek();
  }
  SkipRestOfLine();
  return ParseNumberToken(token);
}

void ListFileReader::ReadLine(std::string& line) {
  line.clear();
  for (;;) {
    if (Peek() == -1) break;
    const char* begin = buffer_.data() + pos_;
    const char* end = buffer_.data() + buffer_.size();
    const char* stop = std::find_if(begin, end, [](char c) { return c == kCR || c == kLF; });
    line.append(begin, stop);
    pos_ += static_cast<size_t>(stop - begin);
    if (stop != end) break;
  }
  SkipLineEnd();
}

}  // namespace pellox
