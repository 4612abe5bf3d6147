// The run list's editing commands behind "Add", "Insert", "Delete", "Edit"
// and "Pick". The grid is the list's store: entry k is row k, and the row
// count is EntryCount + 1, or 2 for the empty list.
#include <string>

#include "common/int_parse.h"
#include "runlist/list_file_format.h"
#include "window/form1.h"

namespace pellox {

namespace {
enum Column { kNo = 0, kDelay = 1, kExeName = 2, kParameter = 3 };
}  // namespace

void TForm1::EmptyList() {
  EntryCount = 0;
  ui_.SetRowCount(2);
  for (int column = kNo; column <= kParameter; ++column) ui_.SetCellText(column, 1, "");
}

void TForm1::SetRow(int row, const std::string& delay, const std::string& exeName,
                    const std::string& parameter) {
  ui_.SetCellText(kNo, row, std::to_string(row));
  ui_.SetCellText(kDelay, row, delay);
  ui_.SetCellText(kExeName, row, exeName);
  ui_.SetCellText(kParameter, row, parameter);
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
  ui_.SetRowCount(n + 1);
}

void TForm1::Button3Click() {
  if (EntryCount >= kMaxEntries) return;
  NormaliseDelay();
  const int n = ++EntryCount;
  ui_.SetRowCount(n + 1);
  const int r = ui_.CurrentRow();
  if (r <= n) {
    for (int i = n - 1; i >= r; --i) {
      SetRow(i + 1, ui_.CellText(kDelay, i), ui_.CellText(kExeName, i),
             ui_.CellText(kParameter, i));
    }
  }
  SetRowFromFields(r);
}

void TForm1::Button4Click() {
  if (EntryCount == 0) return;
  const int r = ui_.CurrentRow();
  const int n = EntryCount;
  for (int i = r; i <= n - 1; ++i) {
    SetRow(i, ui_.CellText(kDelay, i + 1), ui_.CellText(kExeName, i + 1),
           ui_.CellText(kParameter, i + 1));
  }
  for (int column = kNo; column <= kParameter; ++column) ui_.SetCellText(column, n, "");
  EntryCount = n - 1;
  ui_.SetRowCount(EntryCount == 0 ? 2 : EntryCount + 1);
}

void TForm1::Button5Click() {
  if (EntryCount == 0) return;
  NormaliseDelay();
  const int r = ui_.CurrentRow();
  ui_.SetCellText(kDelay, r, ui_.Text(EditField::Edit1));
  ui_.SetCellText(kExeName, r, StorableLine(ui_.Text(EditField::Edit2)));
  ui_.SetCellText(kParameter, r, StorableLine(ui_.Text(EditField::Edit3)));
}

void TForm1::Button6Click() {
  if (EntryCount == 0) return;
  const int r = ui_.CurrentRow();
  ui_.SetText(EditField::Edit1, ui_.CellText(kDelay, r));
  ui_.SetText(EditField::Edit2, ui_.CellText(kExeName, r));
  ui_.SetText(EditField::Edit3, ui_.CellText(kParameter, r));
}

}  // namespace pellox
