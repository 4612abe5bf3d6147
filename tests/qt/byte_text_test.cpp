// The byte text <-> Qt string conversion: valid UTF-8 reads as its
// characters, every other byte as a code point of its own, and every text
// comes back byte for byte, also after it went through a real field.
#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "platform/qt/byte_text.h"
#include "window/layout.h"
#include "window_fixture.h"

namespace pellox::testing {
namespace {

char32_t Raw(unsigned char byte) { return kRawByteBase + byte; }

QString Codes(std::u32string codes) {
  return QString::fromUcs4(codes.data(), static_cast<qsizetype>(codes.size()));
}

struct ByteCase {
  const char* Label;
  std::string Bytes;
  std::u32string Shown;
};

void PrintTo(const ByteCase& text, std::ostream* out) { *out << text.Label; }

class ByteTextTest : public ::testing::TestWithParam<ByteCase> {};

TEST_P(ByteTextTest, ShowsTheTextAndGivesBackTheSameBytes) {
  const QString shown = ToQString(GetParam().Bytes);
  EXPECT_EQ(shown, Codes(GetParam().Shown));
  EXPECT_EQ(ToBytes(shown), GetParam().Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ByteTextTest,
    ::testing::Values(
        ByteCase{"empty", "", U""}, ByteCase{"ascii", "a \"b\" c\t~", U"a \"b\" c\t~"},
        ByteCase{"nul", std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
        ByteCase{"utf8", "caf\xC3\xA9 \xE3\x83\x97 \xF0\x9F\x98\x80", U"café プ 😀"},
        // プリンタ in Shift-JIS: 0x83 is no UTF-8 lead byte; 0x76 and 0x5E are ASCII.
        ByteCase{"shift_jis",
                 "\x83\x76\x83\x8A\x83\x93\x83\x5E",
                 {Raw(0x83), U'v', Raw(0x83), Raw(0x8A), Raw(0x83), Raw(0x93), Raw(0x83), U'^'}},
        ByteCase{"latin1", "r\xE9sum\xE9", {U'r', Raw(0xE9), U's', U'u', U'm', Raw(0xE9)}},
        ByteCase{"mixed", "\xC3\xA9\xE9\xC3\xA9", {U'é', Raw(0xE9), U'é'}},
        ByteCase{"cut_sequence", "\xE3\x83", {Raw(0xE3), Raw(0x83)}},
        ByteCase{"lead_then_ascii", "\xE3\x41", {Raw(0xE3), U'A'}},
        ByteCase{"overlong", "\xC0\xAF", {Raw(0xC0), Raw(0xAF)}},
        ByteCase{"surrogate", "\xED\xA0\x80", {Raw(0xED), Raw(0xA0), Raw(0x80)}},
        ByteCase{"above_unicode", "\xF4\x90\x80\x80", {Raw(0xF4), Raw(0x90), Raw(0x80), Raw(0x80)}},
        // The UTF-8 form of a code point that stands for a raw byte.
        ByteCase{"reserved_range", "\xEE\xBE\x80", {Raw(0xEE), Raw(0xBE), Raw(0x80)}}),
    [](const ::testing::TestParamInfo<ByteCase>& test) { return test.param.Label; });

TEST(ByteTextRoundTrip, EveryByteAloneAndInPairsComesBack) {
  for (int first = 0; first < 256; ++first) {
    const std::string alone(1, static_cast<char>(first));
    ASSERT_EQ(ToBytes(ToQString(alone)), alone) << first;
    for (int second = 0x80; second < 256; ++second) {
      const std::string pair = alone + static_cast<char>(second);
      ASSERT_EQ(ToBytes(ToQString(pair)), pair) << first << " " << second;
    }
  }
  for (int byte = 0x80; byte < 256; ++byte) {
    EXPECT_EQ(ToQString(std::string(1, static_cast<char>(byte))),
              Codes({Raw(static_cast<unsigned char>(byte))}));
  }
}

TEST(ByteTextRoundTrip, TypedTextIsUtf8) {
  EXPECT_EQ(
      ToBytes(QStringLiteral("プリンタ résumé 😀")),
      "\xE3\x83\x97\xE3\x83\xAA\xE3\x83\xB3\xE3\x82\xBF r\xC3\xA9sum\xC3\xA9 \xF0\x9F\x98\x80");
}

class ByteTextFieldTest : public WindowFixture {};

TEST_F(ByteTextFieldTest, RawBytesSurviveEditingInAField) {
  ShowWindow();
  QLineEdit* field = window->Edit(layout::ControlId::Edit2);
  toolkit->SetText(EditField::Edit2, "caf\xE9\x83");
  field->setFocus();
  field->end(false);
  // A key the keyboard gives as text, as a composed character arrives.
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("é"));
  QCoreApplication::sendEvent(field, &typed);
  field->home(false);
  QTest::keyClick(field, Qt::Key_Delete);
  EXPECT_EQ(toolkit->Text(EditField::Edit2), "af\xE9\x83\xC3\xA9");
  field->end(false);
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClick(field, Qt::Key_Backspace);
  EXPECT_EQ(toolkit->Text(EditField::Edit2), "af\xE9");
}

TEST_F(ByteTextFieldTest, RawBytesAreDrawn) {
  ShowWindow();
  QLineEdit* field = window->Edit(layout::ControlId::Edit2);
  field->clearFocus();  // no blinking cursor in the pictures
  toolkit->SetText(EditField::Edit2, "");
  const QImage empty = field->grab().toImage();
  for (const char* bytes : {"\x83", "\xE9", "\xFF"}) {
    toolkit->SetText(EditField::Edit2, bytes);
    EXPECT_GT(field->fontMetrics().horizontalAdvance(field->text()), 0);
    EXPECT_NE(field->grab().toImage(), empty) << static_cast<int>(bytes[0] & 0xFF);
  }
}

}  // namespace
}  // namespace pellox::testing
