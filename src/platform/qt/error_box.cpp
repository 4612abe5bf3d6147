#include "platform/qt/error_box.h"

#include <QMessageBox>

#include "platform/qt/byte_text.h"

namespace pellox {

void ShowErrorBox(QWidget* owner, std::string_view caption, std::string_view text) {
  QMessageBox box(QMessageBox::Critical, ToQString(caption), ToQString(text), QMessageBox::Ok,
                  owner);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace pellox
