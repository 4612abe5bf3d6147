#include "platform/qt/qt_toolkit.h"

#include <QComboBox>
#include <QLineEdit>

#include "platform/qt/byte_text.h"
#include "platform/qt/error_box.h"
#include "platform/qt/main_window.h"
#include "platform/qt/status_bar.h"
#include "window/edit_fields.h"

namespace pellox {

QtToolkit::QtToolkit(MainWindow& window) : window_(window), dialogs_(&window) {}

std::string QtToolkit::Text(EditField field) const {
  return ToBytes(window_.Edit(ControlOf(field))->text());
}

void QtToolkit::SetText(EditField field, std::string_view text) {
  window_.Edit(ControlOf(field))->setText(ToQString(text));
}

void QtToolkit::ClearItems() { window_.ComboBox()->clear(); }

void QtToolkit::AddItem(std::string_view text) { window_.ComboBox()->addItem(ToQString(text)); }

int QtToolkit::ItemCount() const { return window_.ComboBox()->count(); }

int QtToolkit::ItemIndex() const { return window_.ComboBox()->currentIndex(); }

void QtToolkit::SetItemIndex(int index) { window_.ComboBox()->setCurrentIndex(index); }

void QtToolkit::SetPanelText(int panel, std::string_view text) {
  window_.Status()->SetPanelText(panel, text);
}

void QtToolkit::SetCaption(std::string_view caption) { window_.setWindowTitle(ToQString(caption)); }

void* QtToolkit::WindowHandle() const { return static_cast<QWidget*>(&window_); }

void QtToolkit::PrepareDialog(DialogId dialog, const DialogSetup& setup) {
  dialogs_.Prepare(dialog, setup);
}

bool QtToolkit::ShowDialog(DialogId dialog) { return dialogs_.Show(dialog); }

std::string QtToolkit::DialogFileName(DialogId dialog) const { return dialogs_.FileName(dialog); }

void QtToolkit::ShowErrorBox(std::string_view caption, std::string_view text) {
  pellox::ShowErrorBox(&window_, caption, text);
}

}  // namespace pellox
