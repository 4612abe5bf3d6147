#include "platform/qt/error_box.h"

#include <QMessageBox>

#include "common/errors.h"
#include "platform/qt/byte_text.h"

namespace pellox {

void ShowErrorBox(QWidget* owner, std::string_view caption, std::string_view text) {
  MakeErrorBox(owner, caption, text)->exec();
}

void ShowStartUpError(const std::exception& error) {
  ShowErrorBox(nullptr, messages::kStartupErrorCaption, ErrorReportTextOf(error));
}

std::unique_ptr<QMessageBox> MakeErrorBox(QWidget* owner, std::string_view caption,
                                          std::string_view text) {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, ToQString(caption),
                                           ToQString(text), QMessageBox::Ok, owner);
  box->setTextFormat(Qt::PlainText);
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

}  // namespace pellox
