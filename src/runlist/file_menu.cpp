// The File menu's New, Open, Save and Save As: the list file behind the
// window's run list, by name.
#include <string>

#include "common/errors.h"
#include "window/form1.h"
#include "window/layout.h"

namespace pellox {

void TForm1::MnuNewClick() {
  ListFileName.clear();
  SetListCaption();
  ui_.SetText(EditField::Edit1, "");
  ui_.SetText(EditField::Edit2, "");
  ui_.SetText(EditField::Edit3, "");
  EmptyList();
  SetColumnWidths(layout::kNo);
  ui_.SetItemIndex(0);
}

void TForm1::MnuOpenClick() {
  ui_.PrepareDialog(DialogId::OpenDialog1, {ListDir, kListFilter, kListExt, std::nullopt});
  if (!ui_.ShowDialog(DialogId::OpenDialog1)) return;
  ListFileName = ui_.DialogFileName(DialogId::OpenDialog1);
  ListDir = FolderPartOf(ListFileName);
  SetListCaption();
  if (!LoadList(ListFileName)) MnuNewClick();
}

void TForm1::MnuSaveClick() {
  if (ListFileName.empty()) return MnuSaveAsClick();
  SaveList(ListFileName);
}

void TForm1::MnuSaveAsClick() {
  ui_.PrepareDialog(DialogId::SaveDialog1, {ListDir, kListFilter, kListExt, ListFileName});
  if (!ui_.ShowDialog(DialogId::SaveDialog1)) return;
  const std::string path = ui_.DialogFileName(DialogId::SaveDialog1);
  // The name becomes the current file once the list is in it: after a
  // save that succeeded, or one whose new contents took the file's place
  // before something failed.
  try {
    SaveList(path);
  } catch (const EInOutError& error) {
    if (error.ContentsReplaced()) TakeListFileName(path);
    throw;
  }
  TakeListFileName(path);
}

void TForm1::TakeListFileName(const std::string& path) {
  ListFileName = path;
  SetListCaption();
}

}  // namespace pellox
