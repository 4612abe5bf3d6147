// LoadList and SaveList: the run list and the printer choice in a list file.
// Loading changes the window as it reads; saving replaces the old contents
// only once all new ones are written, so a failed save never costs the old
// list.
#include <memory>

#include "runlist/list_file_reader.h"
#include "runlist/list_file_writer.h"
#include "window/form1.h"
#include "window/layout.h"

namespace pellox {

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
    for (int row = 1; row <= EntryCount; ++row) {
      StringGrid1.SetCell(layout::kNo, row, std::to_string(row));
      for (int column = layout::kDelay; column <= layout::kParameter; ++column) {
        StringGrid1.SetCell(column, row, reader.ReadLine());
      }
    }
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
