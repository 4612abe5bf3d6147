// Every message of the program can be read in its error box: each character
// of each text has a glyph in the font the box's text is drawn with, after
// Qt's fallback to the installed fonts. Without a font that has the Japanese
// glyphs (on Debian: fonts-ipafont-gothic, which the package depends on)
// the texts would be drawn as empty boxes.
#include <gtest/gtest.h>

#include <QGlyphRun>
#include <QLabel>
#include <QMessageBox>
#include <QRawFont>
#include <QTextLayout>
#include <iostream>
#include <memory>
#include <set>
#include <string>

#include "common/errors.h"
#include "common/text.h"
#include "platform/qt/byte_text.h"
#include "platform/qt/error_box.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

struct Drawn {
  bool EveryGlyph = true;      // no character drawn as the missing glyph
  std::set<QString> Families;  // the fonts the text was drawn with
};

// How `text` is drawn in `font`: Qt lays it out as a label does, taking
// each character the font lacks from another font.
Drawn Draw(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  Drawn drawn;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    drawn.Families.insert(run.rawFont().familyName());
    for (quint32 glyph : run.glyphIndexes()) {
      if (glyph == 0) drawn.EveryGlyph = false;
    }
  }
  return drawn;
}

// The characters of `text` that `font` draws as the missing glyph.
QString MissingCharacters(const QString& text, const QFont& font) {
  QString missing;
  for (QChar character : text) {
    if (character.isPrint() && !Draw(QString(character), font).EveryGlyph) missing += character;
  }
  return missing;
}

class ErrorBoxFontTest : public WindowFixture {
 protected:
  // The font the box shows its text in, the box made as the program makes
  // it over its main window.
  QFont ErrorBoxTextFont() {
    std::unique_ptr<QMessageBox> box = MakeErrorBox(window, "Pellox", "");
    box->show();
    const QLabel* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    EXPECT_NE(label, nullptr) << "no text label in the message box";
    return label ? label->font() : box->font();
  }
};

TEST_F(ErrorBoxFontTest, EveryCharacterOfEveryMessageHasAGlyph) {
  ShowWindow();
  const QFont font = ErrorBoxTextFont();
  std::set<QString> families;
  for (const std::string& message : MessageTexts()) {
    // As the standard error report shows it, one line at a time.
    for (const QString& line : ToQString(ErrorReportText(message)).split(u'\n')) {
      SCOPED_TRACE(line.toStdString());
      const Drawn drawn = Draw(line, font);
      EXPECT_TRUE(drawn.EveryGlyph)
          << "drawn as empty boxes: \"" << MissingCharacters(line, font).toStdString() << "\" in "
          << font.family().toStdString();
      families.insert(drawn.Families.begin(), drawn.Families.end());
    }
  }
  std::cout << "error box text font: " << font.family().toStdString() << "; drawn with:";
  for (const QString& family : families) std::cout << " \"" << family.toStdString() << "\"";
  std::cout << "\n";
}

// The check itself finds a character that no font has.
TEST_F(ErrorBoxFontTest, ACharacterNoFontHasIsFoundMissing) {
  const QFont font = ErrorBoxTextFont();
  EXPECT_FALSE(Draw(QString::fromUcs4(U"\U0010FFFD"), font).EveryGlyph);
  EXPECT_TRUE(Draw(QStringLiteral("Pellox"), font).EveryGlyph);
}

}  // namespace
}  // namespace pellox::testing
