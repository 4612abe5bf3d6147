#include "fake_platform.h"

#include <algorithm>
#include <cstring>

#include "common/errors.h"

namespace pellox::testing {

bool FakePump::ProcessPendingMessages() {
  ++processCalls_;
  bool quitTaken = false;
  for (;;) {
    if (quitPending_) {
      quitPending_ = false;
      quitTaken = true;
      ++quitsTaken_;
      continue;
    }
    auto due = scheduled_.begin();
    if (due == scheduled_.end() || due->first > clock_.Now()) break;
    std::function<void()> action = std::move(due->second);
    scheduled_.erase(due);
    action();  // may run a whole handler, nested waits included
  }
  return quitTaken;
}

void FakePump::WaitForMessage(uint32_t timeoutMs) {
  ++waitCalls_;
  if (quitPending_) return;
  uint64_t until = timeoutMs == kInfinite ? UINT64_MAX : clock_.Now() + timeoutMs;
  if (!scheduled_.empty())
    until = std::min(until, std::max(clock_.Now(), scheduled_.begin()->first));
  if (until == UINT64_MAX) return;  // nothing would ever arrive
  clock_.now = until;
}

void FakePump::At(uint64_t at, std::function<void()> action) {
  scheduled_.emplace(at, std::move(action));
}

EnumPrintersResult FakePrinterSystem::EnumPrinters(uint32_t flags, int level, uint32_t bufferSize,
                                                   std::vector<PrinterRecord>& records) {
  enumCalls.push_back({flags, level, bufferSize});
  std::vector<PrinterRecord> answer;
  if (flags == printer_enum::kDefault) {
    if (defaultQueryError != 0) return {false, 0, defaultQueryError};
    if (defaultPrinter) answer.push_back({*defaultPrinter, std::nullopt});
  } else {
    if (failSizeQuery) return {false, 0, 1722};
    answer = installed;
  }
  uint32_t needed = 0;
  for (const PrinterRecord& record : answer) {
    needed += 64 + static_cast<uint32_t>(record.Name.size() + record.PortList.value_or("").size());
  }
  if (bufferSize < needed) return {false, needed, printer_enum::kErrorInsufficientBuffer};
  if (flags != printer_enum::kDefault && failFill) return {false, needed, 5};
  records = answer;
  return {true, needed, 0};
}

std::string FakePrinterSystem::GetProfileString(const std::string& section, const std::string& key,
                                                const std::string& fallback, size_t bufferChars) {
  auto it = profile.find(section + "/" + key);
  std::string value = it == profile.end() ? fallback : it->second;
  return value.substr(0, bufferChars - 1);
}

void FakePrinterSystem::WriteProfileString(const std::string& section, const std::string& key,
                                           const std::string& value) {
  profile[section + "/" + key] = value;
  profileWrites.push_back(section + "/" + key + "=" + value);
}

void FakePrinterSystem::BroadcastSettingChange(const std::string& section) {
  broadcasts.push_back(section);
}

std::string FakePrinterSystem::SystemErrorText(uint32_t code) {
  return "System text " + std::to_string(code) + ". \r\n";
}

namespace {

class FakeFile : public File {
 public:
  FakeFile(FakeFileSystem& system, std::string* contents) : system_(system), contents_(contents) {}

  size_t Read(char* buffer, size_t size) override {
    system_.Check(FakeFileSystem::Op::Read);
    size_t n = std::min({size, system_.readChunk, contents_->size() - pos_});
    std::memcpy(buffer, contents_->data() + pos_, n);
    pos_ += n;
    return n;
  }
  void Close() override { system_.Check(FakeFileSystem::Op::Close); }

 private:
  FakeFileSystem& system_;
  std::string* contents_;
  size_t pos_ = 0;
};

class FakeReplacement : public FileReplacement {
 public:
  FakeReplacement(FakeFileSystem& system, std::string path)
      : system_(system), path_(std::move(path)) {
    auto it = system_.files.find(path_);
    if (it != system_.files.end()) old_ = it->second;
    if (system_.replaceInPlace) system_.files[path_].clear();
  }
  ~FakeReplacement() override {
    if (committed_) return;
    system_.dropped.push_back(path_);
    if (!system_.replaceInPlace) return;
    if (old_) {
      system_.files[path_] = *old_;
    } else {
      system_.files.erase(path_);
    }
  }

  void Write(const char* data, size_t size) override {
    system_.Check(FakeFileSystem::Op::Write);
    written_.append(data, size);
    if (system_.replaceInPlace) system_.files[path_] = written_;
  }
  void Commit() override {
    system_.Check(FakeFileSystem::Op::Commit);
    system_.files[path_] = written_;
    committed_ = true;
    try {
      system_.Check(FakeFileSystem::Op::Durable);
    } catch (const EInOutError& error) {
      throw error.AfterReplace();
    }
  }

 private:
  FakeFileSystem& system_;
  std::string path_;
  std::optional<std::string> old_;
  std::string written_;
  bool committed_ = false;
};

}  // namespace

std::unique_ptr<File> FakeFileSystem::OpenForReading(const std::string& path) {
  Check(Op::Open);
  auto it = files.find(path);
  if (it == files.end()) throw EInOutError(2);
  return std::make_unique<FakeFile>(*this, &it->second);
}

std::unique_ptr<FileReplacement> FakeFileSystem::Replace(const std::string& path) {
  Check(Op::Replace);
  return std::make_unique<FakeReplacement>(*this, path);
}

void FakeFileSystem::FailAt(Op op, int nth, int code) { failures_[op] = {calls_[op] + nth, code}; }

void FakeFileSystem::Check(Op op) {
  int call = ++calls_[op];
  auto it = failures_.find(op);
  if (it != failures_.end() && it->second.first == call) throw EInOutError(it->second.second);
}

}  // namespace pellox::testing
