#include "platform/in_place_overwrite.h"

namespace pellox {

void InPlaceOverwrite::Start() {
  file_.WriteAt(0, &kUnloadableMark, 1);
  started_ = true;
  // On the disk before any other byte changes: after a crash, too, the
  // file cannot load as a mix.
  file_.Sync();
}

void InPlaceOverwrite::Write(const char* data, size_t size) {
  if (size == 0) return;
  if (written_ == 0) {
    firstByte_ = data[0];
    file_.WriteAt(1, data + 1, size - 1);
  } else {
    file_.WriteAt(written_, data, size);
  }
  written_ += size;
}

void InPlaceOverwrite::Finish() {
  file_.Truncate(written_);
  file_.Sync();
  if (written_ == 0) return;
  file_.WriteAt(0, &firstByte_, 1);
  file_.Sync();
}

bool InPlaceOverwrite::Restore() noexcept {
  if (!started_) return true;
  try {
    // The first byte may already be the new list's.
    file_.WriteAt(0, &kUnloadableMark, 1);
    file_.Sync();
    WriteWhole(oldContents_);
    return true;
  } catch (...) {
    // The file stays marked, or holds the new contents; the kept copy tells.
    return false;
  }
}

void InPlaceOverwrite::WriteWhole(const std::string& contents) {
  if (contents.size() > 1) file_.WriteAt(1, contents.data() + 1, contents.size() - 1);
  file_.Truncate(contents.size());
  file_.Sync();
  if (contents.empty()) return;
  file_.WriteAt(0, contents.data(), 1);
  file_.Sync();
}

}  // namespace pellox
