#include "schema/Table.h"
#include "schema/CheckConstraintManager.h"

#include <gtest/gtest.h>

namespace {

Field& addField(Table& table, std::u16string name, int type = 202) {
    return table.addField(
        std::make_unique<Field>(table, Field::Properties{.name = name, .type = type}));
}

std::unique_ptr<Key> makeKey(Table& table, std::u16string name, int type,
                             std::u16string relatedTable = {}) {
    return std::make_unique<Key>(table, std::move(name), std::move(relatedTable), type, 0, 0, false,
                                 false);
}

std::vector<std::u16string> fieldNames(const Table& table) {
    std::vector<std::u16string> names;
    for (const auto& field : table.fields())
        names.push_back(field->name());
    return names;
}

} // namespace

TEST(Table, AddKeyKeepsTheFirstKeyUnlessAForeignKeyTakesItsPlace) {
    Table table(u"t");
    Key& primary = table.addKey(makeKey(table, u"PK", Key::Primary));
    Key& other = table.addKey(makeKey(table, u"Other", Key::Unique));

    // A unique key under an existing name is dropped.
    EXPECT_EQ(&table.addKey(makeKey(table, u"PK", Key::Unique)), &primary);
    ASSERT_EQ(table.keys().size(), 2u);
    EXPECT_EQ(table.keys()[0].get(), &primary);
    EXPECT_EQ(table.keys()[0]->type(), Key::Primary);

    // A foreign key replaces it at the same position.
    Key& foreign = table.addKey(makeKey(table, u"PK", Key::Foreign, u"parent"));
    ASSERT_EQ(table.keys().size(), 2u);
    EXPECT_EQ(table.keys()[0].get(), &foreign);
    EXPECT_EQ(table.keys()[0]->type(), Key::Foreign);
    EXPECT_EQ(table.keys()[1].get(), &other);

    // And a later foreign key of that name replaces the foreign key too.
    Key& second = table.addKey(makeKey(table, u"PK", Key::Foreign, u"other parent"));
    EXPECT_EQ(table.keys()[0].get(), &second);
    EXPECT_EQ(table.findKeyExact(u"PK")->relatedTableName(), u"other parent");
}

TEST(Table, KeyNamesDifferingInCaseAreDifferentKeys) {
    Table table(u"t");
    table.addKey(makeKey(table, u"key", Key::Unique));
    table.addKey(makeKey(table, u"KEY", Key::Unique));
    ASSERT_EQ(table.keys().size(), 2u);
    EXPECT_EQ(table.findKeyExact(u"KEY"), table.keys()[1].get());
    EXPECT_EQ(table.findKeyExact(u"Key"), nullptr);
}

TEST(Table, FieldLookupFoldsOnlyAsciiLetters) {
    Table table(u"t");
    Field& upper = addField(table, u"Name");
    Field& accented = addField(table, u"\u00c9t\u00e9");
    Field& lower = addField(table, u"name");

    EXPECT_EQ(table.findField(u"NAME"), &upper);
    EXPECT_EQ(table.findField(u"\u00c9T\u00e9"), &accented);
    EXPECT_EQ(table.findField(u"\u00e9t\u00e9"), nullptr);
    EXPECT_EQ(table.findFieldExact(u"name"), &lower);
    EXPECT_EQ(table.findFieldExact(u"NAME"), nullptr);
    EXPECT_EQ(table.findField(u"Nam"), nullptr);
    EXPECT_EQ(&upper.table(), &table);
}

TEST(Table, RemovedElementsBelongToTheCaller) {
    Table table(u"t");
    Index& index = table.addIndex(std::make_unique<Index>(table, u"ix", false, true, 0));
    Key& key = table.addKey(makeKey(table, u"k", Key::Primary));

    std::unique_ptr<Index> removedIndex = table.removeIndex(index);
    EXPECT_EQ(removedIndex.get(), &index);
    EXPECT_TRUE(table.indexes().empty());
    EXPECT_EQ(table.removeIndex(*removedIndex), nullptr);

    std::unique_ptr<Key> removedKey = table.removeKey(key);
    EXPECT_EQ(removedKey.get(), &key);
    EXPECT_TRUE(table.keys().empty());
    EXPECT_EQ(table.findKeyExact(u"k"), nullptr);
}

TEST(Table, SortsFieldsByPositionWithUnpositionedFieldsFirst) {
    Table table(u"t");
    addField(table, u"c").setPosition(3);
    addField(table, u"a").setPosition(1);
    addField(table, u"unread");
    addField(table, u"b").setPosition(2);
    table.sortFieldsByPosition();
    EXPECT_EQ(fieldNames(table), (std::vector<std::u16string>{u"unread", u"a", u"b", u"c"}));
}

TEST(Table, SettingTheDataMacroReplacesTheOldOne) {
    Table table(u"t");
    EXPECT_EQ(table.tableDataMacro(), nullptr);
    table.setTableDataMacro(std::make_unique<TableDataMacro>(u"t", TableDataMacro::Bytes{1}));
    table.setTableDataMacro(std::make_unique<TableDataMacro>(u"t", TableDataMacro::Bytes{1, 2}));
    ASSERT_NE(table.tableDataMacro(), nullptr);
    EXPECT_EQ(table.tableDataMacro()->contentSize(), 2);
    table.setTableDataMacro(nullptr);
    EXPECT_EQ(table.tableDataMacro(), nullptr);
}

TEST(Field, DifferenceFlagsStartByType) {
    Table table(u"t");
    for (int numeric : {2, 3, 4, 5, 6, 17, 131})
        EXPECT_FALSE(addField(table, u"n", numeric).same().decimalPlaces) << numeric;
    for (int other : {0, 7, 11, 14, 72, 101, 202, 203})
        EXPECT_TRUE(addField(table, u"o", other).same().decimalPlaces) << other;

    const Field::Same& same = addField(table, u"f").same();
    EXPECT_FALSE(same.type || same.length || same.autoincrement || same.defaultValue ||
                 same.numericScale || same.precision || same.nullable);
    EXPECT_TRUE(same.compression && same.validationRule && same.allowZeroLength && same.position &&
                same.format && same.expression);
}

TEST(Field, SettingFormatOrExpressionMarksThemForDisplay) {
    Table table(u"t");
    Field& field = addField(table, u"f");
    EXPECT_FALSE(field.hasExpression());
    EXPECT_EQ(field.decimalPlaces(), 255);
    EXPECT_FALSE(field.decimalPlacesKnown());

    field.setFormat(u"");
    EXPECT_FALSE(field.same().format);
    EXPECT_TRUE(field.same().expression);
    field.setExpression(u"[a]+1");
    EXPECT_TRUE(field.hasExpression());
    EXPECT_FALSE(field.same().expression);
    field.setDecimalPlaces(2);
    EXPECT_EQ(field.decimalPlaces(), 2);
    EXPECT_TRUE(field.decimalPlacesKnown());
    // The flag was decided by the type the field was read with.
    field.setType(3);
    EXPECT_TRUE(field.same().decimalPlaces);
}

TEST(Field, AllSameNeedsEveryFlag) {
    Field::Same same{true, true, true, true, true, true, true};
    EXPECT_TRUE(same.all());
    same.position = false;
    EXPECT_FALSE(same.all());
    EXPECT_FALSE(Field::Same{}.all());
}

TEST(Field, KeepsTheReadProperties) {
    Table table(u"t");
    Field& field = table.addField(
        std::make_unique<Field>(table, Field::Properties{.name = u"price",
                                                         .type = 131,
                                                         .length = 19,
                                                         .autoincrement = false,
                                                         .defaultValue = engine::Variant(1.5),
                                                         .defaultText = u"1.5",
                                                         .numericScale = 2,
                                                         .precision = 18,
                                                         .nullable = true,
                                                         .compressed = false,
                                                         .validationRule = u">0",
                                                         .allowZeroLength = false}));
    EXPECT_EQ(field.name(), u"price");
    EXPECT_EQ(field.type(), 131);
    EXPECT_EQ(field.length(), 19);
    EXPECT_EQ(field.defaultValue(), engine::Variant(1.5));
    EXPECT_EQ(field.defaultText(), u"1.5");
    EXPECT_EQ(field.numericScale(), 2);
    EXPECT_EQ(field.precision(), 18);
    EXPECT_TRUE(field.isNullable());
    EXPECT_EQ(field.validationRule(), u">0");
}

TEST(Index, ColumnsTextJoinsColumnsInIndexOrder) {
    Table table(u"t");
    Field& a = addField(table, u"a");
    Field& b = addField(table, u"b");
    Index& index = table.addIndex(std::make_unique<Index>(table, u"ix", true, true, 1));
    EXPECT_EQ(index.columnsText(), u"");
    index.addColumn(b);
    index.addColumn(a);
    EXPECT_EQ(index.columnsText(), u"b, a");
    EXPECT_EQ(index.columns(), (std::vector<Field*>{&b, &a}));
    EXPECT_FALSE(index.same().columns);
}

TEST(Key, ColumnsTextOfForeignKeysNamesTheRelatedColumns) {
    Table table(u"orders");
    std::unique_ptr<Key> foreign = makeKey(table, u"fk", Key::Foreign, u"Customers");
    foreign->addColumn(u"cust", u"id");
    EXPECT_EQ(foreign->columnsText(), u"cust->Customers.id");
    foreign->addColumn(u"region", u"reg");
    EXPECT_EQ(foreign->columnsText(), u"cust->Customers.id, region->Customers.reg");

    std::unique_ptr<Key> primary = makeKey(table, u"pk", Key::Primary);
    primary->addColumn(u"a", u"");
    primary->addColumn(u"b", u"");
    EXPECT_EQ(primary->columnsText(), u"a, b");
}

TEST(Key, TextsOfTypeAndRules) {
    Table table(u"t");
    Key key(table, u"k", u"p", Key::Foreign, Key::RuleSetNull, Key::RuleCascade, true, true);
    EXPECT_EQ(key.typeText(), u"Foreign");
    EXPECT_EQ(key.deleteRuleText(), u"Null Delete");
    EXPECT_EQ(key.updateRuleText(), u"Cascade Update");
    EXPECT_TRUE(key.isNotEnforced());
    EXPECT_TRUE(key.isOneToOne());

    for (int outside : {0, 4}) {
        Key odd(table, u"k", u"", outside, outside, outside, false, false);
        EXPECT_EQ(odd.typeText(), u"");
        EXPECT_EQ(odd.deleteRuleText(), u"");
        EXPECT_EQ(odd.updateRuleText(), u"");
    }
}

TEST(Key, FieldsAndHasColumnIgnoreTheCaseOfColumnNames) {
    Table table(u"t");
    Field& a = addField(table, u"Alpha");
    Field& b = addField(table, u"Beta");
    std::unique_ptr<Key> key = makeKey(table, u"k", Key::Unique);
    key->addColumn(u"BETA", u"");
    key->addColumn(u"missing", u"");
    key->addColumn(u"alpha", u"");
    EXPECT_EQ(key->fields(), (std::vector<Field*>{&b, &a}));
    EXPECT_TRUE(key->hasColumn(u"Beta"));
    EXPECT_TRUE(key->hasColumn(u"MISSING"));
    EXPECT_FALSE(key->hasColumn(u"Gamma"));
    EXPECT_EQ(key->relatedTable(), nullptr);
}

TEST(CheckConstraintManager, FindsPlainThenTableQualifiedNames) {
    CheckConstraintManager manager;
    manager.add(u"plain", u"[a] > 0");
    manager.add(u"[orders].qualified", u"[b] < 5");
    manager.add(u"[orders].plain", u"ignored: the plain name wins");

    std::unique_ptr<CheckConstraint> plain = manager.createConstraint(u"orders", u"plain");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->name(), u"plain");
    EXPECT_EQ(plain->tableName(), u"orders");
    EXPECT_EQ(plain->clause(), u"[a] > 0");
    EXPECT_FALSE(plain->same().clause);

    std::unique_ptr<CheckConstraint> qualified = manager.createConstraint(u"orders", u"qualified");
    ASSERT_NE(qualified, nullptr);
    EXPECT_EQ(qualified->name(), u"qualified");
    EXPECT_EQ(qualified->clause(), u"[b] < 5");

    EXPECT_EQ(manager.createConstraint(u"ORDERS", u"qualified"), nullptr);
    EXPECT_EQ(manager.createConstraint(u"orders", u"PLAIN"), nullptr);
    EXPECT_EQ(manager.createConstraint(u"orders", u"none"), nullptr);
}
