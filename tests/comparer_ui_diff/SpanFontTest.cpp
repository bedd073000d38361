// What the diff view draws for awkward characters, and which part of a long span it draws.

#include "comparer/ui/diff/SpanFont.h"
#include "tests/comparer_ui_diff/Application.h"

#include <gtest/gtest.h>

using TextViewControl::SpanFont;

TEST(SpanFont, ControlCharactersAndLoneSurrogatesDrawAsPlaceholders) {
    std::u16string text = u"a\r\tb";
    text += u'\0';
    text += u"\xD800|\xDC00|\xD83D\xDE00";
    EXPECT_EQ(SpanFont::displayText(text),
              QString::fromUtf16(u"a    b\u2400\uFFFD|\uFFFD|\xD83D\xDE00"));
}

TEST(SpanFont, TheDrawnWidthIsTheSumOfTheParts) {
    testApplication();
    SpanFont font(QApplication::font().family(), 14, false);
    EXPECT_EQ(font.width(u"abc\r"), font.width(u"abc"));
    EXPECT_DOUBLE_EQ(font.width(u"abcdef"), font.width(u"abc") + font.width(u"def"));
    EXPECT_GT(font.width(u"\xD800"), 0);
}

TEST(SpanFont, OnlyThePartOfALongSpanInViewIsDrawn) {
    testApplication();
    SpanFont font(QApplication::font().family(), 14, true);
    const std::u16string text(100000, u'm');
    const double left = 50000;
    const double right = 50400;
    SpanFont::Piece piece = font.visiblePiece(text, 8, left, right);
    EXPECT_GT(piece.begin, 0u);
    EXPECT_LT(piece.end, text.size());
    EXPECT_DOUBLE_EQ(piece.x, 8 + font.width(std::u16string_view(text).substr(0, piece.begin)));
    EXPECT_LE(piece.x, left);
    EXPECT_GE(piece.x + font.width(
                            std::u16string_view(text).substr(piece.begin, piece.end - piece.begin)),
              right);
    // Text that the font shapes as a whole is drawn whole.
    const std::u16string arabic(1000, u'\u0645');
    SpanFont::Piece whole = font.visiblePiece(arabic, 8, left, right);
    EXPECT_EQ(whole.begin, 0u);
    EXPECT_EQ(whole.end, arabic.size());
}
