#include "platform/qt/single_line_validator.h"

#include "common/end_of_data.h"

namespace pellox {

namespace {

constexpr QLatin1Char kEndOfData(kEndOfDataByte);

bool IsLineBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

}  // namespace

QValidator::State SingleLineValidator::validate(QString& text, int& cursor) const {
  // The field never holds a line break, so the first one belongs to what
  // was just inserted, which ends at the cursor: the rest of the insert
  // goes.
  for (qsizetype at = 0; at < text.size(); ++at) {
    if (!IsLineBreak(text[at])) continue;
    const qsizetype end = std::max<qsizetype>(cursor, at + 1);
    text.remove(at, end - at);
    cursor = static_cast<int>(at);
    break;
  }
  for (qsizetype at = text.size() - 1; at >= 0; --at) {
    if (text[at] != kEndOfData) continue;
    text.remove(at, 1);
    if (at < cursor) --cursor;
  }
  // A line break after the cursor cannot come from an insert; it is
  // dropped all the same.
  text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  cursor = std::min(cursor, static_cast<int>(text.size()));
  return Acceptable;
}

}  // namespace pellox
