// The program's message box: a stop icon, the given caption and text, and
// only an OK button, modal so that the program's windows take no input
// while it is shown.
#pragma once

#include <exception>
#include <memory>
#include <string_view>

class QMessageBox;
class QWidget;

namespace pellox {

void ShowErrorBox(QWidget* owner, std::string_view caption, std::string_view text);

// The box that ends a start-up which failed while the application or its
// window was being created: the standard error report's text of the error
// (ErrorReportTextOf) under "アプリケーション エラー", owned by no window.
void ShowStartUpError(const std::exception& error);

// The box that ShowErrorBox shows, not yet shown. Its text is drawn in the
// box's font, with each character that font lacks taken from another
// installed font (Qt's fallback through fontconfig): the Japanese messages
// need a font with their glyphs installed.
std::unique_ptr<QMessageBox> MakeErrorBox(QWidget* owner, std::string_view caption,
                                          std::string_view text);

}  // namespace pellox
