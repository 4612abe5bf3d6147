// Keeps an entry field to one line of text, as a single-line field on
// Windows does: of a pasted, dropped or otherwise inserted text only the
// part before its first line break (CR or LF) goes in, and the Ctrl+Z byte
// (0x1A), which would end a list file's data, never does. The list file
// cannot store these characters in a cell.
#pragma once

#include <QValidator>

namespace pellox {

class SingleLineValidator : public QValidator {
 public:
  using QValidator::QValidator;

  // Rewrites the field's new text and cursor; every text is acceptable
  // after that.
  State validate(QString& text, int& cursor) const override;
};

}  // namespace pellox
