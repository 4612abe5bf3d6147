// The program's message box: a stop icon, the given caption and text, and
// only an OK button, modal so that the program's windows take no input
// while it is shown.
#pragma once

#include <string_view>

class QWidget;

namespace pellox {

void ShowErrorBox(QWidget* owner, std::string_view caption, std::string_view text);

}  // namespace pellox
