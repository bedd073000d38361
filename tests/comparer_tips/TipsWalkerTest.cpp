#include "comparer/tips/Tips.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace FormattedTextViewControl;

namespace {

Tips load(std::string_view xml) {
    return Tips::load(xml.data(), xml.size());
}

// "text/style" for each segment of one container.
std::vector<std::u16string> pieces(const Tip& tip, std::size_t container) {
    std::vector<std::u16string> out;
    for (const Segment& segment : tip.containers().at(container)->segments)
        out.push_back(std::u16string(tip.textOf(segment)) + (segment.style ? u"/b" : u""));
    return out;
}

bool isLine(const Tip& tip, std::size_t container) {
    return dynamic_cast<const Line*>(tip.containers().at(container).get()) != nullptr;
}

using Pieces = std::vector<std::u16string>;

} // namespace

TEST(TipsWalker, ALineKeepsItsTextsWholeAndBoldTakesTheNextTextOnly) {
    Tips tips = load("<tips><tip><l>Press <b>Next</b> to go on</l></tip></tips>");
    ASSERT_EQ(tips.count(), 1u);
    const Tip& tip = *tips.current();
    ASSERT_EQ(tip.containers().size(), 1u);
    EXPECT_TRUE(isLine(tip, 0));
    EXPECT_EQ(pieces(tip, 0), (Pieces{u"Press ", u"Next/b", u" to go on"}));
    EXPECT_EQ(tip.text(), u"Press Next to go on");
}

TEST(TipsWalker, AParagraphSplitsAtSpacesTabsAndLineBreaksOnly) {
    Tips tips = load("<tips><tip><p>Press <b>Next</b> now</p>"
                     "<p>\r\n\t\t\tone\t\ttwo  three,four\n</p></tip></tips>");
    const Tip& tip = *tips.current();
    ASSERT_EQ(tip.containers().size(), 2u);
    EXPECT_FALSE(isLine(tip, 0));
    EXPECT_EQ(pieces(tip, 0), (Pieces{u"Press", u"Next/b", u"now"}));
    EXPECT_EQ(pieces(tip, 1), (Pieces{u"one", u"two", u"three,four"}));
}

TEST(TipsWalker, UnknownElementsAreTransparentAndOtherNodesSkipped) {
    Tips tips = load("<tips><tip><p>a <i>b</i> <!-- c --><![CDATA[d]]><?pi e?>f</p>"
                     "<Tip><P>g</P></Tip></tip></tips>");
    ASSERT_EQ(tips.count(), 1u); // element names are case-sensitive
    EXPECT_EQ(pieces(*tips.current(), 0), (Pieces{u"a", u"b", u"f", u"g"}));
}

TEST(TipsWalker, BoldReachesTheNextTextWhereverItIs) {
    Tips tips = load("<tips><tip><p><b/><i>x</i> y</p><p>z</p><b></b></tip><tip>w</tip></tips>");
    ASSERT_EQ(tips.count(), 2u);
    EXPECT_EQ(pieces(*tips.current(), 0), (Pieces{u"x/b", u"y"}));
    EXPECT_EQ(pieces(*tips.current(), 1), (Pieces{u"z"}));
    EXPECT_EQ(pieces(*tips.next(), 0), (Pieces{u"w/b"}));
}

TEST(TipsWalker, TextStraightInATipStartsAParagraph) {
    Tips tips = load("<tips><tip>one two<l>a b</l>c d</tip></tips>");
    const Tip& tip = *tips.current();
    ASSERT_EQ(tip.containers().size(), 2u);
    EXPECT_FALSE(isLine(tip, 0));
    EXPECT_EQ(pieces(tip, 0), (Pieces{u"one", u"two"}));
    // Text after a line's end still belongs to the line, the tip's current container.
    EXPECT_TRUE(isLine(tip, 1));
    EXPECT_EQ(pieces(tip, 1), (Pieces{u"a b", u"c d"}));
}

TEST(TipsWalker, ContentBeforeTheFirstTipIsDropped) {
    Tips tips = load("<tips>lost<p>lost too</p><b/>x<tip><p>kept</p></tip></tips>");
    ASSERT_EQ(tips.count(), 1u);
    EXPECT_EQ(pieces(*tips.current(), 0), (Pieces{u"kept"}));
}

TEST(TipsWalker, ADamagedDocumentKeepsTheTipsBeforeTheDamage) {
    Tips tips = load("<tips><tip><p>first</p></tip><tip><p>second</p></tip><tip><p>th&bad;");
    ASSERT_GE(tips.count(), 2u);
    EXPECT_EQ(pieces(*tips.current(), 0), (Pieces{u"first"}));
    EXPECT_EQ(pieces(*tips.next(), 0), (Pieces{u"second"}));

    for (std::string_view nothing : {"", "not xml at all", "\xff\xfe", "<", "<tips/>"})
        EXPECT_EQ(load(nothing).count(), 0u);
}

TEST(TipsWalker, TextIsReadInAnyEncodingPugixmlDetects) {
    Tips utf8 = load("<?xml version=\"1.0\" encoding=\"UTF-8\"?><tips><tip>"
                     "<p>Gr\xc3\xbc\xc3\x9f \xe2\x86\x92 &gt;</p></tip></tips>");
    EXPECT_EQ(pieces(*utf8.current(), 0), (Pieces{u"Grüß", u"→", u">"}));

    std::u16string wide = u"\uFEFF<tips><tip><p>\u00e9t\u00e9 \U0001F4A1</p></tip></tips>";
    Tips utf16 = Tips::load(wide.data(), wide.size() * sizeof(char16_t));
    EXPECT_EQ(pieces(*utf16.current(), 0), (Pieces{u"été", u"\U0001F4A1"}));
}
