// LoadList and SaveList: the run list and the printer choice in a list file.
// Loading changes the window as it reads; saving replaces the old contents
// only once all new ones are written, so a failed save never costs the old
// list.
#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "runlist/list_file_format.h"
#include "runlist/list_file_reader.h"
#include "runlist/list_file_writer.h"
#include "window/form1.h"
#include "window/layout.h"

namespace pellox {

namespace {

static_assert(layout::kNo == 0 && layout::kParameter + 1 == layout::kGridColumns);

// The texts of one grid row while it is read; kept from entry to entry, so
// their room is reused.
using RowTexts = std::array<std::string, layout::kGridColumns>;

// Reads entry `row` (its delay, program and parameter lines) and writes it
// with its number into grid row `row` in one go. When a read fails, the
// cells read before it are written all the same, as if each had been
// written as soon as it was read.
void ReadEntry(ListFileReader& reader, GridModel& grid, int row, RowTexts& texts) {
  std::array<std::string_view, layout::kGridColumns> cells;
  texts[layout::kNo] = std::to_string(row);
  cells[layout::kNo] = texts[layout::kNo];
  size_t read = 1;
  try {
    for (; read < cells.size(); ++read) {
      reader.ReadLine(texts[read]);
      cells[read] = texts[read];
    }
  } catch (...) {
    grid.SetRow(row, std::span(cells).first(read));
    throw;
  }
  grid.SetRow(row, cells);
}

}  // namespace

bool TForm1::LoadList(const std::string& path) {
  try {
    std::unique_ptr<File> file = platform_.Files.OpenForReading(path);
    ListFileReader reader(*file);

    std::optional<int32_t> choice = reader.ReadInteger();
    if (!choice) return false;
    ui_.SetItemIndex(*choice < 0 || *choice >= ui_.ItemCount() ? 0 : *choice);

    std::optional<int32_t> count = reader.ReadInteger();
    if (!count) return false;
    EntryCount = *count;
    // The bound also keeps EntryCount + 1 from overflowing.
    if (EntryCount <= 0 || EntryCount > kMaxEntries) return false;

    // The rows reach the view as one change, however many they are.
    GridModel::BulkChange change(StringGrid1);
    StringGrid1.SetRowCount(EntryCount + 1);
    // Every row gets at least its number, even when the file ends early, so
    // the room for all of them (bounded by kMaxEntries) is used in any case.
    StringGrid1.ReserveRows(EntryCount + 1);
    RowTexts texts;
    for (int row = 1; row <= EntryCount; ++row) ReadEntry(reader, StringGrid1, row, texts);
    file->Close();
    return true;
  } catch (...) {
    // Whatever went wrong, the caller only learns that the file did not load.
    return false;
  }
}

void TForm1::SaveList(const std::string& path) {
  // Until Finish has committed, the file keeps its old contents; a failure
  // drops the new ones and goes on to the caller.
  std::unique_ptr<FileReplacement> output = platform_.Files.Replace(path);
  ListFileWriter writer(*output);
  writer.WriteInteger(ui_.ItemIndex());
  writer.WriteInteger(EntryCount);
  for (int row = 1; row <= EntryCount; ++row) {
    for (int column = layout::kDelay; column <= layout::kParameter; ++column) {
      writer.WriteLine(StringGrid1.Cell(column, row));
    }
  }
  writer.Finish();
}

}  // namespace pellox
