#include "window/form1.h"

#include <exception>

#include "common/errors.h"
#include "common/text.h"
#include "window/layout.h"

namespace pellox {

TForm1::TForm1(TApplication& application, WindowToolkit& ui, Platform& platform)
    : StringGrid1(platform.Memory), application_(application), ui_(ui), platform_(platform) {
  runs_.reserve(kMaxRunDepth);
}

void TForm1::Dispatch(FormEvent event) {
  try {
    switch (event) {
      case FormEvent::FormShow:
        return FormShow();
      case FormEvent::Button1Click:
        return Button1Click();
      case FormEvent::Button2Click:
        return Button2Click();
      case FormEvent::Button3Click:
        return Button3Click();
      case FormEvent::Button4Click:
        return Button4Click();
      case FormEvent::Button5Click:
        return Button5Click();
      case FormEvent::Button6Click:
        return Button6Click();
      case FormEvent::Button7Click:
        return Button7Click();
      case FormEvent::MnuNewClick:
        return MnuNewClick();
      case FormEvent::MnuOpenClick:
        return MnuOpenClick();
      case FormEvent::MnuSaveClick:
        return MnuSaveClick();
      case FormEvent::MnuSaveAsClick:
        return MnuSaveAsClick();
      case FormEvent::MnuExitClick:
        return MnuExitClick();
    }
  } catch (const std::exception& error) {
    ui_.ShowErrorBox(application_.Title(), ErrorReportTextOf(error));
  }
}

std::string TForm1::FolderPartOf(const std::string& path) {
  return FolderPart(path, platform_.Process.PathSeparators());
}

void TForm1::Close() { platform_.Pump.PostQuit(); }

void TForm1::MnuExitClick() { Close(); }

std::string TForm1::CellText(int column, int row) const {
  return std::string(StringGrid1.Cell(column, row));
}

void TForm1::SetListCaption() {
  ui_.SetCaption(ListFileName.empty()
                     ? std::string(layout::kWindow.Caption)
                     : std::string(layout::kWindow.Caption) + " | " + ListFileName);
}

void TForm1::SetColumnWidths(int firstColumn) {
  for (int column = firstColumn; column <= layout::kParameter; ++column) {
    StringGrid1.SetColWidth(column, layout::GridColumnWidth(column));
  }
}

}  // namespace pellox
