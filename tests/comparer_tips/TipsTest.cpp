#include "comparer/tips/Tips.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

Tips load(std::string_view xml) {
    return Tips::load(xml.data(), xml.size());
}

} // namespace

TEST(Tips, NextAndPreviousWrapAtBothEnds) {
    Tips tips = load("<tips><tip>a</tip><tip>b</tip><tip>c</tip></tips>");
    ASSERT_EQ(tips.count(), 3u);
    EXPECT_EQ(tips.index(), 0);
    EXPECT_EQ(tips.previous()->text(), u"c");
    EXPECT_EQ(tips.index(), 2);
    EXPECT_EQ(tips.next()->text(), u"a");
    EXPECT_EQ(tips.next()->text(), u"b");
}

TEST(Tips, AnIndexOutsideTheTipsSelectsTheFirst) {
    Tips tips = load("<tips><tip>a</tip><tip>b</tip></tips>");
    tips.select(1);
    EXPECT_EQ(tips.current()->text(), u"b");
    for (int outside : {2, -1, 1000}) {
        tips.select(1);
        tips.select(outside);
        EXPECT_EQ(tips.index(), 0) << outside;
    }
}

TEST(Tips, WithoutTipsNothingIsShownAndTheIndexStaysAtZero) {
    Tips tips = load("");
    EXPECT_EQ(tips.count(), 0u);
    EXPECT_EQ(tips.current(), nullptr);
    EXPECT_EQ(tips.next(), nullptr);
    EXPECT_EQ(tips.index(), 0);
    EXPECT_EQ(tips.previous(), nullptr);
    EXPECT_EQ(tips.next(), nullptr);
    EXPECT_EQ(tips.index(), 0);
    tips.select(3);
    EXPECT_EQ(tips.index(), 0);
}
