#include "foundation/engine/api/Variant.h"

#include <gtest/gtest.h>

using engine::Variant;

TEST(Variant, TextOfNumbersFollowsTheInvariantLocale) {
    EXPECT_EQ(Variant(3.25).toText(), u"3.25");
    EXPECT_EQ(Variant(1e20).toText(), u"1E+20");
    EXPECT_EQ(Variant(0.00001).toText(), u"1E-05");
    EXPECT_EQ(Variant(0.1f).toText(), u"0.1");
    EXPECT_EQ(Variant(std::int16_t(-7)).toText(), u"-7");
    EXPECT_EQ(Variant(engine::Currency{-125000}).toText(), u"-12.5");
    EXPECT_EQ(Variant(true).toText(), u"-1");
}

TEST(Variant, TextOfDatesDropsTheZeroPart) {
    EXPECT_EQ(Variant(engine::Date{36526.0}).toText(), u"01/01/2000");
    EXPECT_EQ(Variant(engine::Date{36526.5}).toText(), u"01/01/2000 12:00:00");
    EXPECT_EQ(Variant(engine::Date{0.75}).toText(), u"18:00:00");
    EXPECT_EQ(Variant(engine::Date{-1.25}).toText(), u"12/29/1899 06:00:00");
    EXPECT_FALSE(Variant(engine::Date{1e9}).toText());
}

TEST(Variant, NullAndArraysHaveNoText) {
    EXPECT_FALSE(Variant::null().toText());
    EXPECT_FALSE(Variant(Variant::Bytes{1, 2}).toText());
    EXPECT_EQ(Variant().toText(), u"");
    EXPECT_EQ(Variant(u"x").type(), engine::VarType::String);
}
