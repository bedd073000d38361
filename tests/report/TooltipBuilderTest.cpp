#include "report/TooltipBuilder.h"
#include "tests/compare/SchemaFixture.h"

#include <gtest/gtest.h>

using namespace fixture;

namespace {

const AccessDataTypeName dialect;

// The tooltip of one element, with "|" between entries to make the joins visible.
std::u16string tooltip(const Element& element) {
    std::u16string out;
    TooltipBuilder builder(out, dialect);
    builder.setSeparator(u"|");
    element.accept(builder);
    return out;
}

TEST(TooltipBuilder, NewFieldShowsWhatItsInitialFlagsMark) {
    Table t(u"T");
    Field& number =
        field(t, {.name = u"Id", .type = 3, .length = 4, .autoincrement = true, .precision = 10});
    EXPECT_EQ(tooltip(number), u"type=LONG|length=4|autoincrement|not nullable|default "
                               u"value=null|numeric scale=0|precision=10|decimal places=auto");
    Field& memo = field(t, {.name = u"M", .type = 203, .defaultText = u"\"x\"", .nullable = true});
    memo.setFormat(u">");
    EXPECT_EQ(tooltip(memo), u"type=MEMO|length=0|not autoincrement|nullable|default "
                             u"value=\"x\"|numeric scale=0|precision=0|format='>'");
    Field& unknown = field(t, {.name = u"U", .type = 999});
    unknown.same() = {.length = true,
                      .autoincrement = true,
                      .defaultValue = true,
                      .numericScale = true,
                      .precision = true,
                      .nullable = true};
    EXPECT_EQ(tooltip(unknown), u"type=UNKNOWN");
}

TEST(TooltipBuilder, FieldEntriesComeInFixedOrderWithTheirOwnWording) {
    Table t(u"T");
    Field& f = field(t, {.name = u"F",
                         .type = 6,
                         .length = 8,
                         .numericScale = 4,
                         .precision = 19,
                         .compressed = true,
                         .validationRule = u">=0",
                         .allowZeroLength = true});
    f.setDecimalPlaces(2);
    f.setPosition(3);
    f.setFormat(u"Currency");
    f.setExpression(u"[a]*2");
    f.same() = Field::Same{.compression = false,
                           .validationRule = false,
                           .allowZeroLength = false,
                           .position = false,
                           .format = false,
                           .decimalPlaces = false,
                           .expression = false};
    EXPECT_EQ(tooltip(f), u"type=CURRENCY|length=8|not autoincrement|not nullable|with "
                          u"compression|default value=null|numeric scale=4|precision=19|"
                          u"decimal places=2|validation rule=\">=0\"|allow zero length=true|"
                          u"position=3|format='Currency'|expression=[a]*2");
}

TEST(TooltipBuilder, OnlyFlaggedPropertiesAreShown) {
    Table t(u"T");
    Field& f = textField(t, u"F");
    f.setPosition(2.5);
    f.same() = Field::Same{.type = true,
                           .length = true,
                           .autoincrement = true,
                           .defaultValue = true,
                           .numericScale = true,
                           .precision = true,
                           .nullable = true,
                           .allowZeroLength = false,
                           .position = false};
    EXPECT_EQ(tooltip(f), u"allow zero length=false|position=2.5");
    f.same().allowZeroLength = true;
    f.same().position = true;
    EXPECT_EQ(tooltip(f), u"");
}

TEST(TooltipBuilder, IndexWithUnknownNullsValueWritesNoStraySeparator) {
    Table t(u"T");
    textField(t, u"A");
    textField(t, u"B");
    Index& ignoreAny = index(t, u"I", {u"A", u"B"}, true, true, 4);
    EXPECT_EQ(tooltip(ignoreAny), u"column=A, B|PrimaryKey|Unique");
    ignoreAny.same().primary = true;
    EXPECT_EQ(tooltip(ignoreAny), u"column=A, B|Unique");

    const char16_t* texts[] = {u"Nulls Allow", u"Nulls Disallow", u"Nulls Ignore"};
    for (int nulls = 0; nulls < 3; ++nulls) {
        Index& other = index(t, u"N", {u"A"}, false, false, nulls);
        other.same().unique = true;
        EXPECT_EQ(tooltip(other), u"column=A|not PrimaryKey|" + std::u16string(texts[nulls]));
    }
}

TEST(TooltipBuilder, OnlyPrimaryKeysLabelTheirColumns) {
    Table t(u"T");
    Key& primary = key(t, {.name = u"PK",
                           .columns = {{u"A", nullptr}, {u"B", nullptr}},
                           .deleteRule = Key::RuleCascade});
    EXPECT_EQ(tooltip(primary), u"column=A, B|Cascade Delete");
    Key& foreign = key(t, {.name = u"FK",
                           .type = Key::Foreign,
                           .relatedTable = u"P",
                           .columns = {{u"A", u"X"}, {u"B", u"Y"}},
                           .deleteRule = Key::RuleSetDefault,
                           .updateRule = Key::RuleSetNull});
    EXPECT_EQ(tooltip(foreign), u"A->P.X, B->P.Y|Default Delete|Null Update");
    Key& unique = key(t, {.name = u"UK", .type = Key::Unique, .columns = {{u"A", nullptr}}});
    EXPECT_EQ(tooltip(unique), u"A");

    // Rules without a text write nothing; the type is never written.
    foreign.same() = {.relatedTable = true,
                      .columns = true,
                      .type = false,
                      .deleteRule = true,
                      .updateRule = false};
    EXPECT_EQ(tooltip(foreign), u"Null Update");
    unique.same() = {.relatedTable = true, .columns = true};
    EXPECT_EQ(tooltip(unique), u"");
    // A changed related table alone shows the columns.
    foreign.same().relatedTable = false;
    EXPECT_EQ(tooltip(foreign), u"A->P.X, B->P.Y|Null Update");
}

TEST(TooltipBuilder, CheckConstraintsAndQueries) {
    CheckConstraint check(u"C", u"T", u"[a] > 0");
    EXPECT_EQ(tooltip(check), u"check=[a] > 0");
    check.same().clause = true;
    EXPECT_EQ(tooltip(check), u"");
    EXPECT_EQ(tooltip(View(u"V", u"SELECT *\r\nFROM t")), u"SELECT *\r\nFROM t");
    EXPECT_EQ(tooltip(Procedure(u"P", u"DELETE FROM t")), u"DELETE FROM t");
}

TEST(TooltipBuilder, ContainersAndDocumentsWriteNothing) {
    Table t(u"T");
    dataMacro(t, "<a/>");
    Entity::Form form(u"F", bytes("form"));
    TableLinkedODBC odbc(u"L", u"R", u"ODBC;DSN=x");
    for (const Element* element :
         {static_cast<const Element*>(&t), static_cast<const Element*>(t.tableDataMacro()),
          static_cast<const Element*>(&form), static_cast<const Element*>(&odbc),
          static_cast<const Element*>(&EmptyElement::instance())})
        EXPECT_EQ(tooltip(*element), u"");
}

TEST(TooltipBuilder, EachVisitStartsWithoutSeparator) {
    Table t(u"T");
    Field& a = textField(t, u"A");
    a.same() = {.type = true,
                .length = true,
                .autoincrement = true,
                .defaultValue = true,
                .numericScale = true,
                .precision = true,
                .nullable = false};
    std::u16string out;
    TooltipBuilder builder(out, dialect);
    a.accept(builder);
    a.accept(builder);
    t.accept(builder);
    a.accept(builder);
    EXPECT_EQ(out, u"nullablenullablenullable");
}

} // namespace
