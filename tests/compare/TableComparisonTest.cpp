#include "compare/TableComparison.h"
#include "compare/ElementEquality.h"
#include "tests/compare/ResultText.h"
#include "tests/compare/SchemaFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

using namespace fixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Two tables named T and the comparison of them.
struct TablePair {
    Table first{u"T"};
    Table second{u"T"};
    ComparisonOptions options;
    std::vector<ElementDifference> results;

    std::vector<std::string> compare() {
        TableComparison(results, options).compare(first, second);
        std::vector<std::string> lines;
        for (const ElementDifference& item : results)
            lines.push_back(describe(item));
        return lines;
    }
};

// Two fields of one type that differ only in what `change` sets on the second.
struct FieldPair {
    Table first{u"T"};
    Table second{u"T"};
    Field& a;
    Field& b;
    FieldPair(Field::Properties properties, const auto& change)
        : a(field(first, properties)), b(field(second, (change(properties), properties))) {}

    bool equal(ComparisonOptions options = {}) { return fieldsEqual(a, b, options); }
};

FieldPair fieldsOfType(int type, auto change) {
    return FieldPair({.name = u"F", .type = type, .length = 4}, change);
}

TEST(TableComparison, FieldNamesDifferingInCaseMatch) {
    TablePair tables;
    textField(tables.first, u"Name");
    textField(tables.second, u"NAME");
    EXPECT_THAT(tables.compare(), IsEmpty());
}

TEST(TableComparison, TableEntryComesOnceRightBeforeItsFirstChild) {
    TablePair tables;
    textField(tables.first, u"Kept");
    textField(tables.first, u"Gone");
    textField(tables.first, u"Longer", 10);
    textField(tables.second, u"Longer", 20);
    textField(tables.second, u"Kept");
    textField(tables.second, u"New1");
    textField(tables.second, u"New2");
    index(tables.second, u"I", {u"Kept"});
    check(tables.first, u"C", u"Kept > 0");
    check(tables.second, u"C", u"Kept >= 0");
    EXPECT_THAT(tables.compare(),
                ElementsAre("changed Table T", "deleted Field Gone", "changed Field Longer",
                            "added Field New1", "added Field New2", "added Index I",
                            "changed Check C"));
    EXPECT_EQ(tables.results[0].second, &tables.second);
}

TEST(TableComparison, OnlyAnAddedIndexGivesTheTableThenTheIndex) {
    TablePair tables;
    textField(tables.first, u"A");
    textField(tables.second, u"A");
    index(tables.second, u"ByA", {u"A"});
    EXPECT_THAT(tables.compare(), ElementsAre("changed Table T", "added Index ByA"));
}

TEST(TableComparison, IndexKeyAndCheckNamesAreCaseSensitive) {
    TablePair tables;
    textField(tables.first, u"A");
    textField(tables.second, u"A");
    index(tables.first, u"ix", {u"A"});
    index(tables.second, u"IX", {u"A"});
    key(tables.first, {.name = u"pk", .columns = {{u"A", nullptr}}});
    key(tables.second, {.name = u"PK", .columns = {{u"A", nullptr}}});
    check(tables.first, u"c", u"A > 0");
    check(tables.second, u"C", u"A > 0");
    EXPECT_THAT(tables.compare(),
                ElementsAre("changed Table T", "deleted Index ix", "added Index IX",
                            "deleted Key pk", "added Key PK", "deleted Check c", "added Check C"));
}

TEST(TableComparison, DataMacrosCompareTheirBytes) {
    {
        TablePair tables;
        dataMacro(tables.first, "<a/>");
        dataMacro(tables.second, "<a/>");
        EXPECT_THAT(tables.compare(), IsEmpty());
    }
    {
        TablePair tables;
        dataMacro(tables.first, "<a/>");
        dataMacro(tables.second, "<a />");
        EXPECT_THAT(tables.compare(), ElementsAre("changed Table T", "changed DataMacro T"));
    }
    {
        TablePair tables;
        dataMacro(tables.second, "");
        EXPECT_THAT(tables.compare(), ElementsAre("changed Table T", "added DataMacro T"));
    }
    {
        TablePair tables;
        dataMacro(tables.first, "<a/>");
        EXPECT_THAT(tables.compare(), ElementsAre("changed Table T", "deleted DataMacro T"));
    }
}

TEST(FieldsEqual, LengthCountsForTextButNotForFixedSizeTypes) {
    auto longer = [](Field::Properties& p) { p.length = 100; };
    FieldPair text = FieldPair({.name = u"F", .type = 202, .length = 50}, longer);
    EXPECT_FALSE(text.equal());
    EXPECT_FALSE(text.a.same().length);
    EXPECT_FALSE(text.b.same().length);
    EXPECT_TRUE(text.b.same().type);
    for (int type : {3, 7, 203, 201, 72, 131})
        EXPECT_TRUE(fieldsOfType(type, longer).equal()) << type;
    for (int type : {200, 128, 204, 130})
        EXPECT_FALSE(fieldsOfType(type, longer).equal()) << type;
}

TEST(FieldsEqual, ScaleAndPrecisionCountOnlyForNumericTypes) {
    auto scaled = [](Field::Properties& p) {
        p.numericScale = 2;
        p.precision = 10;
    };
    EXPECT_TRUE(fieldsOfType(7, scaled).equal());
    EXPECT_TRUE(fieldsOfType(203, scaled).equal());
    FieldPair decimal = fieldsOfType(131, scaled);
    EXPECT_FALSE(decimal.equal());
    EXPECT_FALSE(decimal.a.same().numericScale);
    EXPECT_FALSE(decimal.a.same().precision);
}

TEST(FieldsEqual, AutoincrementCountsForNumbersAndGuidsOnly) {
    auto counter = [](Field::Properties& p) { p.autoincrement = true; };
    EXPECT_FALSE(fieldsOfType(3, counter).equal());
    EXPECT_FALSE(fieldsOfType(72, counter).equal());
    EXPECT_TRUE(fieldsOfType(7, counter).equal());
    EXPECT_TRUE(fieldsOfType(203, counter).equal());
}

TEST(FieldsEqual, PositionCountsOnlyWhenFieldsOrderIsCompared) {
    FieldPair moved = fieldsOfType(3, [](Field::Properties&) {});
    moved.a.setPosition(1);
    moved.b.setPosition(2);
    EXPECT_TRUE(moved.equal());
    EXPECT_TRUE(moved.b.same().position);
    EXPECT_FALSE(moved.equal({.compareFieldsOrder = true}));
    EXPECT_FALSE(moved.b.same().position);

    TablePair tables;
    tables.options.compareFieldsOrder = true;
    textField(tables.first, u"A").setPosition(1);
    textField(tables.first, u"B").setPosition(2);
    textField(tables.second, u"B").setPosition(1);
    textField(tables.second, u"A").setPosition(2);
    EXPECT_THAT(tables.compare(),
                ElementsAre("changed Table T", "changed Field A", "changed Field B"));
}

TEST(FieldsEqual, ZeroLengthAndCompressionCountForTextTypesOnly) {
    auto zeroLength = [](Field::Properties& p) { p.allowZeroLength = true; };
    auto compressed = [](Field::Properties& p) { p.compressed = true; };
    FieldPair memo = fieldsOfType(203, zeroLength);
    EXPECT_FALSE(memo.equal());
    EXPECT_FALSE(memo.b.same().allowZeroLength);
    EXPECT_TRUE(memo.b.same().compression);
    EXPECT_FALSE(fieldsOfType(202, compressed).equal());
    EXPECT_TRUE(fieldsOfType(3, zeroLength).equal());
    EXPECT_TRUE(fieldsOfType(3, compressed).equal());
}

TEST(FieldsEqual, DefaultAbsentDiffersFromEmptyDefault) {
    FieldPair pair = fieldsOfType(202, [](Field::Properties& p) { p.defaultText = u""; });
    EXPECT_FALSE(pair.equal());
    EXPECT_FALSE(pair.b.same().defaultValue);
    EXPECT_FALSE(fieldsOfType(3, [](Field::Properties& p) { p.defaultText = u"0"; }).equal());

    Table t1(u"T"), t2(u"T");
    Field& a = field(t1, {.name = u"F", .type = 3, .defaultText = u"0"});
    Field& b = field(t2, {.name = u"F", .type = 3, .defaultText = u"0"});
    EXPECT_TRUE(fieldsEqual(a, b, {}));
    Field& c = field(t1, {.name = u"G", .type = 202, .defaultText = u"\"a\""});
    Field& d = field(t2, {.name = u"G", .type = 202, .defaultText = u"\"A\""});
    EXPECT_FALSE(fieldsEqual(c, d, {}));
}

TEST(FieldsEqual, ExpressionCountsOnlyForAttachmentTypeCode) {
    FieldPair calculated = fieldsOfType(202, [](Field::Properties&) {});
    calculated.a.setExpression(u"[a]+1");
    calculated.b.setExpression(u"[a]+2");
    EXPECT_TRUE(calculated.equal());
    EXPECT_TRUE(calculated.a.same().expression);

    FieldPair typed = fieldsOfType(101, [](Field::Properties&) {});
    typed.a.setExpression(u"[a]+1");
    typed.b.setExpression(u"[a]+2");
    EXPECT_FALSE(typed.equal());
    EXPECT_FALSE(typed.b.same().expression);
}

TEST(FieldsEqual, DecimalPlacesCountForNumericTypesOnly) {
    FieldPair numeric = fieldsOfType(5, [](Field::Properties&) {});
    numeric.b.setDecimalPlaces(2);
    EXPECT_FALSE(numeric.equal());
    EXPECT_FALSE(numeric.a.same().decimalPlaces);

    // Set explicitly to the automatic value is still "known" on one side only.
    FieldPair automatic = fieldsOfType(3, [](Field::Properties&) {});
    automatic.b.setDecimalPlaces(255);
    EXPECT_FALSE(automatic.equal());

    FieldPair text = fieldsOfType(202, [](Field::Properties&) {});
    text.b.setDecimalPlaces(2);
    EXPECT_TRUE(text.equal());
}

TEST(FieldsEqual, FormatValidationNullabilityAndTypeAlwaysCount) {
    FieldPair formatted = fieldsOfType(7, [](Field::Properties&) {});
    formatted.a.setFormat(u"Short Date");
    formatted.b.setFormat(u"short date");
    EXPECT_FALSE(formatted.equal());
    EXPECT_FALSE(formatted.b.same().format);

    FieldPair rule = fieldsOfType(7, [](Field::Properties& p) { p.validationRule = u">0"; });
    EXPECT_FALSE(rule.equal());
    EXPECT_FALSE(rule.a.same().validationRule);
    EXPECT_FALSE(fieldsOfType(7, [](Field::Properties& p) { p.nullable = true; }).equal());

    FieldPair retyped = fieldsOfType(3, [](Field::Properties& p) { p.type = 4; });
    EXPECT_FALSE(retyped.equal());
    EXPECT_FALSE(retyped.b.same().type);
    EXPECT_TRUE(retyped.b.same().length);
}

TEST(FieldsEqual, BothFieldsCarryTheSameFlags) {
    FieldPair pair = fieldsOfType(202, [](Field::Properties& p) {
        p.length = 9;
        p.nullable = true;
    });
    pair.equal();
    const Field::Same& a = pair.a.same();
    const Field::Same& b = pair.b.same();
    EXPECT_FALSE(a.length);
    EXPECT_FALSE(a.nullable);
    EXPECT_TRUE(a.type && a.autoincrement && a.defaultValue && a.numericScale && a.precision &&
                a.compression && a.validationRule && a.allowZeroLength && a.position && a.format &&
                a.decimalPlaces && a.expression);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
}

struct IndexPair {
    Table first{u"T"};
    Table second{u"T"};
    IndexPair() {
        for (Table* t : {&first, &second}) {
            textField(*t, u"A");
            textField(*t, u"B");
        }
    }
};

TEST(IndexesEqual, ColumnOrderCountsButNotTheCaseOfColumnNames) {
    IndexPair pair;
    Index& ab = index(pair.first, u"I", {u"A", u"B"});
    EXPECT_FALSE(indexesEqual(ab, index(pair.second, u"I", {u"B", u"A"})));
    // Only the first index gets flags; the columns flag is never set.
    EXPECT_TRUE(ab.same().primary && ab.same().unique && ab.same().nulls);
    EXPECT_FALSE(ab.same().columns);

    Table lower(u"T");
    textField(lower, u"a");
    textField(lower, u"b");
    Index& other = index(lower, u"I", {u"a", u"b"});
    EXPECT_TRUE(indexesEqual(ab, other));
    EXPECT_FALSE(other.same().primary);
    EXPECT_FALSE(indexesEqual(ab, index(pair.second, u"J", {u"A"})));
}

TEST(IndexesEqual, PrimaryUniqueAndNullsEachCount) {
    IndexPair pair;
    Index& plain = index(pair.first, u"I", {u"A"});
    EXPECT_FALSE(indexesEqual(plain, index(pair.second, u"P", {u"A"}, true)));
    EXPECT_FALSE(plain.same().primary);
    EXPECT_TRUE(plain.same().unique);
    EXPECT_FALSE(indexesEqual(plain, index(pair.second, u"U", {u"A"}, false, true)));
    EXPECT_FALSE(plain.same().unique);
    EXPECT_FALSE(indexesEqual(plain, index(pair.second, u"N", {u"A"}, false, false, 1)));
    EXPECT_FALSE(plain.same().nulls);
    EXPECT_TRUE(plain.same().unique);
}

// An index on (A, B DESC) and one on (A, B) are different indexes, and so are two such keys.
TEST(IndexesEqual, SortOrderOfEachColumnCounts) {
    IndexPair pair;
    auto withDescendingB = [](Table& table, std::u16string name, bool primary) -> Index& {
        auto added = std::make_unique<Index>(table, std::move(name), primary, primary, 0);
        added->addColumn(*table.findField(u"A"));
        added->addColumn(*table.findField(u"B"), true);
        return table.addIndex(std::move(added));
    };
    Index& ascending = index(pair.first, u"I", {u"A", u"B"});
    Index& descending = withDescendingB(pair.second, u"I", false);
    EXPECT_FALSE(indexesEqual(ascending, descending));
    EXPECT_TRUE(ascending.same().primary && ascending.same().unique && ascending.same().nulls);
    EXPECT_EQ(descending.columnsText(), u"A, B DESC");
    EXPECT_TRUE(indexesEqual(withDescendingB(pair.first, u"J", false),
                             withDescendingB(pair.second, u"J", false)));

    Table t1(u"T"), t2(u"T");
    Key& plain = key(t1, {.name = u"PK", .columns = {{u"A", nullptr}, {u"B", nullptr}}});
    auto sorted = std::make_unique<Key>(t2, u"PK", u"", Key::Primary, Key::RuleNone, Key::RuleNone,
                                        false, false);
    sorted->addColumn(u"A", u"");
    sorted->addColumn(u"B", u"", true);
    Key& descendingKey = t2.addKey(std::move(sorted));
    EXPECT_EQ(descendingKey.columnsText(), u"A, B DESC");
    EXPECT_FALSE(keysEqual(plain, descendingKey));
    EXPECT_FALSE(plain.same().columns);
}

TEST(TableComparison, AnIndexThatBecameDescendingIsChanged) {
    TablePair tables;
    for (Table* t : {&tables.first, &tables.second})
        textField(*t, u"A");
    index(tables.first, u"I", {u"A"});
    auto descending = std::make_unique<Index>(tables.second, u"I", false, false, 0);
    descending->addColumn(*tables.second.findField(u"A"), true);
    tables.second.addIndex(std::move(descending));
    EXPECT_THAT(tables.compare(), ElementsAre("changed Table T", "changed Index I"));
}

TEST(KeysEqual, ColumnPairsMatchInAnyOrderIgnoringCase) {
    Table t1(u"T"), t2(u"T");
    Key& a = key(t1, {.name = u"FK",
                      .type = Key::Foreign,
                      .relatedTable = u"Parent",
                      .columns = {{u"X", u"A"}, {u"Y", u"B"}}});
    Key& b = key(t2, {.name = u"FK",
                      .type = Key::Foreign,
                      .relatedTable = u"PARENT",
                      .columns = {{u"y", u"b"}, {u"x", u"a"}}});
    EXPECT_TRUE(keysEqual(a, b));
    EXPECT_TRUE(a.same().relatedTable);
    EXPECT_FALSE(b.same().relatedTable);

    // Crossed pairs: every column exists, but not as a pair.
    Key& crossed = key(t2, {.name = u"FK2",
                            .type = Key::Foreign,
                            .relatedTable = u"Parent",
                            .columns = {{u"X", u"B"}, {u"Y", u"A"}}});
    EXPECT_FALSE(keysEqual(a, crossed));
    EXPECT_FALSE(a.same().columns);
}

TEST(KeysEqual, RulesTypeAndRelatedTableCountEnforcementDoesNot) {
    auto pair = [](KeyShape a, KeyShape b) {
        Table t1(u"T"), t2(u"T");
        Key& first = key(t1, a);
        return std::make_pair(keysEqual(first, key(t2, b)), first.same());
    };
    KeyShape base{
        .name = u"FK", .type = Key::Foreign, .relatedTable = u"P", .columns = {{u"X", u"A"}}};
    KeyShape loose = base;
    loose.notEnforced = true;
    EXPECT_TRUE(pair(base, loose).first);

    KeyShape cascading = base;
    cascading.deleteRule = Key::RuleCascade;
    auto [deleteEqual, deleteSame] = pair(base, cascading);
    EXPECT_FALSE(deleteEqual);
    EXPECT_FALSE(deleteSame.deleteRule);
    EXPECT_TRUE(deleteSame.updateRule);

    KeyShape updating = base;
    updating.updateRule = Key::RuleSetNull;
    EXPECT_FALSE(pair(base, updating).second.updateRule);

    KeyShape elsewhere = base;
    elsewhere.relatedTable = u"Q";
    auto [relatedEqual, relatedSame] = pair(base, elsewhere);
    EXPECT_FALSE(relatedEqual);
    EXPECT_FALSE(relatedSame.relatedTable);

    KeyShape unique{.name = u"FK", .type = Key::Unique, .columns = {{u"X", nullptr}}};
    KeyShape primary = unique;
    primary.type = Key::Primary;
    auto [typeEqual, typeSame] = pair(unique, primary);
    EXPECT_FALSE(typeEqual);
    EXPECT_FALSE(typeSame.type);
    EXPECT_TRUE(typeSame.columns == false);

    KeyShape longer = base;
    longer.columns = {{u"X", u"A"}, {u"Y", u"B"}};
    EXPECT_FALSE(pair(base, longer).first);
}

TEST(CheckConstraintsEqual, ClauseComparesExactly) {
    CheckConstraint a(u"C", u"T", u"[x] > 0");
    CheckConstraint b(u"C", u"T", u"[X] > 0");
    CheckConstraint c(u"C", u"T", u"[x] > 0");
    EXPECT_FALSE(checkConstraintsEqual(a, b));
    EXPECT_FALSE(a.same().clause);
    EXPECT_TRUE(checkConstraintsEqual(a, c));
    EXPECT_TRUE(a.same().clause);
    EXPECT_FALSE(c.same().clause);
}

TEST(TableComparison, ForeignKeyPairsInAnotherOrderAndEnforcementChangeGiveNoEntry) {
    TablePair tables;
    KeyShape shape{.name = u"FK",
                   .type = Key::Foreign,
                   .relatedTable = u"Parent",
                   .columns = {{u"X", u"A"}, {u"Y", u"B"}}};
    key(tables.first, shape);
    shape.relatedTable = u"parent";
    shape.columns = {{u"Y", u"B"}, {u"X", u"A"}};
    shape.notEnforced = true;
    key(tables.second, shape);
    EXPECT_THAT(tables.compare(), IsEmpty());
}

} // namespace
