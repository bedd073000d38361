#include "script/LiteralRules.h"

#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

TEST(LiteralRules, IntegerLiterals) {
    for (const char16_t* text : {u"0", u"42", u"+7", u"-0012"})
        EXPECT_TRUE(isIntegerLiteral(text)) << text::toUtf8(text);
    for (const char16_t* text :
         {u"", u"+", u"-", u"1.0", u"1e3", u" 1", u"1 ", u"--1", u"1-", u"x"})
        EXPECT_FALSE(isIntegerLiteral(text));
}

TEST(LiteralRules, RealLiterals) {
    for (const char16_t* text : {u"1", u"-1.5", u"+.5", u".5", u"0.5e3", u"10e3", u"1E+2",
                                 u"1.5e-3", u"007.25", u"0.05E1"})
        EXPECT_TRUE(isRealLiteral(text));
    for (const char16_t* text :
         {u"", u"+", u".", u"5.", u"1e", u"1e+", u"1.2.3", u"1e2e3", u"1e2.5", u"0e1", u"0.0e1",
          u"e5", u"1+2", u"--1", u"1,5", u"1e+-2", u"Inf"})
        EXPECT_FALSE(isRealLiteral(text));
}

TEST(LiteralRules, DefaultsFitByColumnType) {
    // Integer types, DECIMAL among them.
    for (int type : {2, 3, 16, 17, 18, 19, 20, 21, 131}) {
        EXPECT_TRUE(defaultFitsType(type, u"12")) << type;
        EXPECT_FALSE(defaultFitsType(type, u"1.5")) << type;
    }
    for (int type : {4, 5, 6, 14}) {
        EXPECT_TRUE(defaultFitsType(type, u"1.5")) << type;
        EXPECT_FALSE(defaultFitsType(type, u"abc")) << type;
    }
    for (int type : {7, 11, 202, 203, 999})
        EXPECT_TRUE(defaultFitsType(type, u"anything at all")) << type;
}
