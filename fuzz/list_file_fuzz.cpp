// Feeds arbitrary bytes to TForm1::LoadList as a list file on the fake file
// layer, then checks what a load that succeeded must hold: a count within the
// bounds, a grid one row taller than the list, and a save that loads back to
// the same cells.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "form_harness.h"
#include "runlist/list_file_reader.h"

namespace {

using pellox::testing::FormHarness;

const char kPath[] = "/lists/fuzz.lst";

// Loads of more entries than this (more than a -max_len input holds lines)
// run only for inputs whose first byte is
// kBigLoadMark: they take a second each under the sanitizers and all go
// through the same code as smaller ones.
constexpr int kMaxEverydayEntries = 4096;
constexpr uint8_t kBigLoadMark = 0xFF;

void Require(bool condition) {
  if (!condition) std::abort();
}

class MemoryFile : public pellox::File {
 public:
  explicit MemoryFile(std::string_view bytes) : bytes_(bytes) {}
  size_t Read(char* buffer, size_t size) override {
    size_t n = bytes_.copy(buffer, size);
    bytes_.remove_prefix(n);
    return n;
  }
  void Close() override {}

 private:
  std::string_view bytes_;
};

// The entry count the file announces, read as LoadList reads it.
int32_t AnnouncedCount(std::string_view bytes) {
  MemoryFile file(bytes);
  pellox::ListFileReader reader(file);
  if (!reader.ReadInteger()) return 0;
  return reader.ReadInteger().value_or(0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string contents(reinterpret_cast<const char*>(data) + 1, size - 1);
  const int32_t announced = AnnouncedCount(contents);
  if (announced > kMaxEverydayEntries && announced <= pellox::kMaxEntries &&
      data[0] != kBigLoadMark) {
    return 0;
  }

  FormHarness h;
  h.printers.installed = {{"Laser", {}}, {"Ink", {}}};
  h.Show();

  // The first byte picks how much each read of the file may give, so refills
  // land anywhere in a line, a line end or a number.
  h.files.readChunk = 1 + data[0] % 64;
  h.files.files[kPath] = contents;
  if (!h.form.LoadList(kPath)) return 0;

  const int count = h.form.EntryCount;
  Require(count >= 1 && count <= pellox::kMaxEntries);
  Require(h.Grid().RowCount() == count + 1);
  Require(h.ui.ItemIndex() >= 0 && h.ui.ItemIndex() < h.ui.ItemCount());
  if (count > kMaxEverydayEntries) return 0;

  for (int row = 1; row <= count; ++row) {
    Require(h.Cell(0, row) == std::to_string(row));
    for (int column = 1; column <= 3; ++column) {
      const std::string cell = h.Cell(column, row);
      // A cell is one line of the file: no line end and no end-of-data mark.
      Require(cell.find_first_of("\r\n\x1a") == std::string::npos);
    }
  }

  const auto before = h.Rows(count);
  const int itemIndex = h.ui.ItemIndex();
  h.form.SaveList(kPath);

  FormHarness again;
  again.printers.installed = h.printers.installed;
  again.Show();
  again.files.readChunk = h.files.readChunk;
  again.files.files[kPath] = h.files.files.at(kPath);
  Require(again.form.LoadList(kPath));
  Require(again.form.EntryCount == count);
  Require(again.ui.ItemIndex() == itemIndex);
  Require(again.Rows(count) == before);
  return 0;
}
