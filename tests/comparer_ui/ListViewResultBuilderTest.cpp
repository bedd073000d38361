// The info texts of the results list's rows, on schema elements built by hand.

#include "comparer/ui/ListViewResultBuilder.h"
#include "comparer/ui/ElementImages.h"
#include "schema/AccessDataTypeName.h"
#include "schema/EmptyElement.h"
#include "schema/Field.h"
#include "schema/Index.h"
#include "schema/Key.h"
#include "schema/Table.h"
#include "schema/View.h"

#include <gtest/gtest.h>

namespace {

class ListViewResultBuilderTest : public ::testing::Test {
protected:
    Field& addField(std::u16string name, int type) {
        Field::Properties properties;
        properties.name = std::move(name);
        properties.type = type;
        return table.addField(std::make_unique<Field>(table, std::move(properties)));
    }

    AccessDataTypeName dialect;
    Table table{u"Orders"};
};

TEST_F(ListViewResultBuilderTest, IndexInfoNamesItsColumnsAndJoinsItsFlags) {
    Field& id = addField(u"ID", 3);
    Index& primary = table.addIndex(std::make_unique<Index>(table, u"PrimaryKey", true, true, 1));
    primary.addColumn(id);
    EXPECT_EQ(ListViewResultBuilder::indexInfo(primary),
              u"column=ID; Primary Key, Unique, Nulls Disallow");

    Index& plain = table.addIndex(std::make_unique<Index>(table, u"ByID", false, false, 2));
    plain.addColumn(id);
    EXPECT_EQ(ListViewResultBuilder::indexInfo(plain), u"column=ID; NullsIgnore");

    // Nulls values without a text leave the flags empty, and then no separator is written.
    Index& bare = table.addIndex(std::make_unique<Index>(table, u"Bare", false, false, 4));
    bare.addColumn(id);
    EXPECT_EQ(ListViewResultBuilder::indexInfo(bare), u"column=ID");
}

TEST_F(ListViewResultBuilderTest, KeyInfoShowsColumnsTypeAndRules) {
    Key foreign(table, u"CustomersOrders", u"Customers", Key::Foreign, Key::RuleCascade,
                Key::RuleNone, false, false);
    foreign.addColumn(u"CustomerID", u"ID");
    EXPECT_EQ(ListViewResultBuilder::keyInfo(foreign),
              u"CustomerID->Customers.ID; Foreign; Cascade Delete");

    Key primary(table, u"PK", u"", Key::Primary, Key::RuleNone, Key::RuleNone, false, false);
    primary.addColumn(u"ID", u"");
    primary.addColumn(u"Line", u"");
    EXPECT_EQ(ListViewResultBuilder::keyInfo(primary), u"column=ID, Line; Primary");
}

TEST_F(ListViewResultBuilderTest, FieldInfoListsItsOwnPropertiesInOrder) {
    Field::Properties properties;
    properties.name = u"Code";
    properties.type = 202;
    properties.length = 10;
    properties.defaultText = u"\"x\"";
    properties.nullable = true;
    properties.compressed = true;
    properties.validationRule = u"Len([Code])>1";
    properties.allowZeroLength = true;
    Field& field = table.addField(std::make_unique<Field>(table, properties));
    field.setFormat(u">");
    field.setPosition(2);
    EXPECT_EQ(ListViewResultBuilder::fieldInfo(field, dialect, false),
              u"TEXT; length=10; default value=\"x\"; nullable; allow zero length=true; "
              u"with compression; format='>'; validation rule=\"Len([Code])>1\"");
    EXPECT_EQ(ListViewResultBuilder::fieldInfo(field, dialect, true),
              ListViewResultBuilder::fieldInfo(field, dialect, false) + u"; position=2");

    // A plain number: its type name alone, no zero-length setting for non-text types.
    Field& number = addField(u"Amount", 3);
    EXPECT_EQ(ListViewResultBuilder::fieldInfo(number, dialect, false),
              std::u16string(dialect.findType(3).sqlName));
}

TEST_F(ListViewResultBuilderTest, RowsKeepTheResultsOrderAndTakeTheSecondSidesImage) {
    Field& id = addField(u"ID", 3);
    Index index(table, u"ByID", false, true, 0);
    index.addColumn(id);
    View view(u"Totals", u"SELECT 1\r\nFROM Orders");
    std::vector<ElementDifference> results = {
        {&table, &table, ElementState::Changed},
        {&EmptyElement::instance(), &index, ElementState::Added},
        {&view, &EmptyElement::instance(), ElementState::Deleted},
    };
    ResultRows rows = buildResultRows(results, dialect, false);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].cells[FirstNameColumn], "Orders");
    EXPECT_EQ(rows[0].image, TableImage);
    EXPECT_TRUE(rows[0].data->isTable);
    EXPECT_EQ(rows[1].cells[FirstNameColumn], "");
    EXPECT_EQ(rows[1].cells[SecondNameColumn], "ByID");
    EXPECT_EQ(rows[1].cells[SecondInfoColumn], "column=ID; Unique, Nulls Allow");
    EXPECT_EQ(rows[1].image, IndexImage);
    EXPECT_EQ(rows[1].cells[ActionColumn], "added");
    EXPECT_EQ(&rows[1].data->second, &index);
    // Line breaks of a query's text become spaces; the second side's empty element keeps
    // the first side's image.
    EXPECT_EQ(rows[2].cells[FirstInfoColumn], "SELECT 1 FROM Orders");
    EXPECT_EQ(rows[2].image, ViewImage);
    EXPECT_EQ(rows[2].cells[ActionColumn], "deleted");
    EXPECT_EQ(rows[2].data->colour, 0xD9E4ECu);
    EXPECT_EQ(rows[2].data->firstTooltip, u"SELECT 1\r\nFROM Orders");
}

} // namespace
