// The run list's editing commands behind "Add", "Insert", "Delete", "Edit"
// and "Pick", and "Browse", which fills the ExeName field. The grid is the
// list's store: entry k is row k, and the row count is EntryCount + 1, or
// kEmptyListRowCount for the empty list.
#include <array>
#include <string>
#include <string_view>

#include "common/int_parse.h"
#include "runlist/list_file_format.h"
#include "window/form1.h"
#include "window/layout.h"

namespace pellox {

using layout::kDelay;
using layout::kExeName;
using layout::kNo;
using layout::kParameter;

void TForm1::EmptyList() {
  EntryCount = 0;
  StringGrid1.SetRowCount(kEmptyListRowCount);
  for (int column = kNo; column <= kParameter; ++column) StringGrid1.SetCell(column, 1, "");
}

void TForm1::SetRow(int row, const std::string& delay, const std::string& exeName,
                    const std::string& parameter) {
  const std::string number = std::to_string(row);
  static_assert(kNo == 0 && kDelay == 1 && kExeName == 2 && kParameter == 3);
  const std::array<std::string_view, layout::kGridColumns> cells = {number, delay, exeName,
                                                                    parameter};
  StringGrid1.SetRow(row, cells);
}

// A field can hold what a cell cannot (a pasted line break, a 0x1A): a row
// takes only what its list file can store and give back. The delay field
// holds a normalised decimal by then.
void TForm1::SetRowFromFields(int row) {
  SetRow(row, ui_.Text(EditField::Edit1), StorableLine(ui_.Text(EditField::Edit2)),
         StorableLine(ui_.Text(EditField::Edit3)));
}

// The delay field as a decimal of 0 or more, so the grid receives exactly
// the text the user sees.
void TForm1::NormaliseDelay() {
  int32_t delay = ParseInt32(ui_.Text(EditField::Edit1)).value_or(0);
  if (delay < 0) delay = 0;
  ui_.SetText(EditField::Edit1, std::to_string(delay));
}

void TForm1::Button2Click() {
  if (EntryCount >= kMaxEntries) return;
  NormaliseDelay();
  const int n = ++EntryCount;
  SetRowFromFields(n);
  StringGrid1.SetRowCount(n + 1);
}

void TForm1::Button3Click() {
  if (EntryCount >= kMaxEntries) return;
  NormaliseDelay();
  const int n = ++EntryCount;
  // Every row from the current one down moves: one notice for all of them.
  GridModel::BulkChange change(StringGrid1);
  StringGrid1.SetRowCount(n + 1);
  const int r = StringGrid1.CurrentRow();
  if (r <= n) {
    for (int i = n - 1; i >= r; --i) {
      SetRow(i + 1, CellText(kDelay, i), CellText(kExeName, i), CellText(kParameter, i));
    }
  }
  SetRowFromFields(r);
}

void TForm1::Button4Click() {
  if (EntryCount == 0) return;
  const int r = StringGrid1.CurrentRow();
  const int n = EntryCount;
  GridModel::BulkChange change(StringGrid1);
  for (int i = r; i <= n - 1; ++i) {
    SetRow(i, CellText(kDelay, i + 1), CellText(kExeName, i + 1), CellText(kParameter, i + 1));
  }
  for (int column = kNo; column <= kParameter; ++column) StringGrid1.SetCell(column, n, "");
  EntryCount = n - 1;
  StringGrid1.SetRowCount(EntryCount == 0 ? kEmptyListRowCount : EntryCount + 1);
}

void TForm1::Button5Click() {
  if (EntryCount == 0) return;
  NormaliseDelay();
  const int r = StringGrid1.CurrentRow();
  StringGrid1.SetCell(kDelay, r, ui_.Text(EditField::Edit1));
  StringGrid1.SetCell(kExeName, r, StorableLine(ui_.Text(EditField::Edit2)));
  StringGrid1.SetCell(kParameter, r, StorableLine(ui_.Text(EditField::Edit3)));
}

void TForm1::Button6Click() {
  if (EntryCount == 0) return;
  const int r = StringGrid1.CurrentRow();
  ui_.SetText(EditField::Edit1, StringGrid1.Cell(kDelay, r));
  ui_.SetText(EditField::Edit2, StringGrid1.Cell(kExeName, r));
  ui_.SetText(EditField::Edit3, StringGrid1.Cell(kParameter, r));
}

// "Browse" starts in the folder of the last program picked (at first the
// program's own).
void TForm1::Button1Click() {
  ui_.PrepareDialog(DialogId::OpenDialog1, {BrowseDir, kBrowseFilter, "", std::nullopt});
  if (!ui_.ShowDialog(DialogId::OpenDialog1)) return;
  const std::string path = ui_.DialogFileName(DialogId::OpenDialog1);
  ui_.SetText(EditField::Edit2, path);
  BrowseDir = FolderPartOf(path);
}

}  // namespace pellox
