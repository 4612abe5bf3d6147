// Calls through the file layer's interface the way the program makes them,
// for the tests of the Linux and the Windows file layer.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/errors.h"
#include "platform/file_system.h"

namespace pellox::testing {

// The EInOutError code a call raises, or 0 when it raises nothing.
inline int CodeOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const EInOutError& error) {
    return error.ErrorCode();
  }
  return 0;
}

// Replaces the contents of `target` with `contents` the way a list is saved.
inline void Save(FileSystem& files, const std::string& target, const std::string& contents) {
  std::unique_ptr<FileReplacement> output = files.Replace(target);
  output->Write(contents.data(), contents.size());
  output->Commit();
}

}  // namespace pellox::testing
