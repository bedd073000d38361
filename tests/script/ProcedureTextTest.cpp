#include "script/ProcedureText.h"

#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

namespace {

std::string parametersOf(std::u16string_view text) {
    auto parts = splitProcedureText(text);
    return parts ? text::toUtf8(parts->parameters) : "<none>";
}

std::string bodyOf(std::u16string_view text) {
    auto parts = splitProcedureText(text);
    return parts ? text::toUtf8(parts->body) : "<none>";
}

} // namespace

TEST(ProcedureText, SplitsAtTheFirstSemicolonInAnyLetterCase) {
    EXPECT_EQ(parametersOf(u"PARAMETERS a Long;SELECT a;"), "a Long");
    EXPECT_EQ(bodyOf(u"PARAMETERS a Long;SELECT a;"), "SELECT a;");
    EXPECT_EQ(parametersOf(u"Parameters\r\n[x] Text (10), [y] Long;\r\nSELECT 1;"),
              "[x] Text (10), [y] Long");
    EXPECT_EQ(parametersOf(u"pArAmEtErS a Long;"), "a Long");
    EXPECT_EQ(bodyOf(u"pArAmEtErS a Long;"), "");
}

TEST(ProcedureText, TheBodyRunsToTheVeryEndOfTheText) {
    // Line breaks on both sides of the body belong to it, a final one included.
    EXPECT_EQ(bodyOf(u"PARAMETERS a Long;\r\nSELECT a\r\nFROM T;\r\n"),
              "\r\nSELECT a\r\nFROM T;\r\n");
    EXPECT_EQ(bodyOf(u"PARAMETERS a Long;\n\n"), "\n\n");
}

TEST(ProcedureText, TextsWithoutALeadingClauseAreQueries) {
    for (const char16_t* text :
         {u"SELECT * FROM T;", u" PARAMETERS a Long;SELECT a", u"PARAMETERS a Long SELECT a",
          u"PARAMETERSa Long;SELECT a", u"SELECT 1;\nPARAMETERS a Long;SELECT a", u""})
        EXPECT_FALSE(splitProcedureText(text)) << text::toUtf8(text);
}

TEST(ProcedureText, UnitsOutsideAsciiAndLoneSurrogatesPassThrough) {
    const std::u16string text = u"PARAMETERS [\u00e9\u20ac] Long;SELECT \xd800 \U0001F600";
    auto parts = splitProcedureText(text);
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->parameters, u"[\u00e9\u20ac] Long");
    EXPECT_EQ(parts->body, u"SELECT \xd800 \U0001F600");
}
