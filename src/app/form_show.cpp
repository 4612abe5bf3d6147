// Start-up of the main window: the fields, the empty run list, the column
// widths and the printer choice, then the unattended run if asked for.
#include "window/form1.h"
#include "window/layout.h"

namespace pellox {

void TForm1::FormShow() {
  BrowseDir = FolderPartOf(platform_.Process.ModuleFileName());
  ListDir = BrowseDir;
  EntryCount = 0;
  ListFileName.clear();
  ui_.SetText(EditField::Edit1, "");
  ui_.SetText(EditField::Edit2, "");
  ui_.SetText(EditField::Edit3, "");
  for (int column = layout::kNo; column <= layout::kParameter; ++column) {
    StringGrid1.SetCell(column, 0, layout::GridHeading(column));
  }
  EmptyList();
  SetColumnWidths(layout::kDelay);  // the number column keeps the default width
  FillPrinterChoice();

  const std::vector<std::string> arguments = platform_.Process.Arguments();
  if (!arguments.empty()) RunUnattended(arguments.front());
}

void TForm1::RunUnattended(const std::string& path) {
  ListFileName = path;
  SetListCaption();
  if (!LoadList(ListFileName)) return MnuNewClick();
  Button7Click();
  Close();
}

void TForm1::FillPrinterChoice() {
  ui_.ClearItems();
  ui_.AddItem("");
  for (const PrinterEntry& entry : application_.SharedPrinter().PrinterList()) {
    ui_.AddItem(entry.DisplayText);
  }
  ui_.SetItemIndex(0);
}

}  // namespace pellox
