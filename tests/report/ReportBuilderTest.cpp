#include "report/ReportBuilder.h"
#include "compare/SchemaComparison.h"
#include "script/ScriptText.h"
#include "tests/compare/SchemaFixture.h"

#include <gtest/gtest.h>

using namespace fixture;

namespace {

const AccessDataTypeName dialect;

SchemaComparison compare(std::unique_ptr<Database> first, std::unique_ptr<Database> second) {
    return SchemaComparison(std::move(first), std::move(second), {}, dialect);
}

// Old is dropped; Orders changes a field, an index, its primary key and its data macro;
// Customers is new; a view changes, a procedure is new, a form goes and a report comes.
std::pair<std::unique_ptr<Database>, std::unique_ptr<Database>> representativeSchemas() {
    auto first = database(u"C:\\data\\a.mdb");
    auto second = database(u"C:\\data\\b.mdb");

    field(table(*first, u"Old"), {.name = u"X", .type = 203});
    for (Database* db : {first.get(), second.get()}) {
        bool isSecond = db == second.get();
        Table& orders = table(*db, u"Orders");
        field(orders, {.name = u"Id", .type = 3, .length = 4});
        field(orders,
              {.name = u"Name", .type = 202, .length = isSecond ? 100 : 50, .nullable = !isSecond});
        index(orders, u"IX", {u"Name"}, false, false, isSecond ? 4 : 0);
        if (isSecond)
            key(orders, {.name = u"PK", .columns = {{u"Id", nullptr}, {u"Name", nullptr}}});
        else
            key(orders, {.name = u"PK", .columns = {{u"Id", nullptr}}});
        dataMacro(orders, isSecond ? "<b/>" : "<a/>");
        db->addView(std::make_unique<View>(u"V1", isSecond ? u"SELECT 2" : u"SELECT 1"));
    }

    Table& customers = table(*second, u"Customers");
    field(customers,
          {.name = u"Id", .type = 3, .length = 4, .autoincrement = true, .precision = 10});
    key(customers, {.name = u"PK", .columns = {{u"Id", nullptr}}});
    key(customers, {.name = u"FK",
                    .type = Key::Foreign,
                    .relatedTable = u"Orders",
                    .columns = {{u"Id", u"Id"}},
                    .deleteRule = Key::RuleCascade});
    check(customers, u"Positive", u"Id > 0");

    second->addProcedure(std::make_unique<Procedure>(u"P", u"DELETE FROM Orders"));
    first->addForm(std::make_unique<Entity::Form>(u"Main", bytes("form")));
    second->addReport(
        std::make_unique<Entity::Report>(u"A report with a long name", bytes("report")));
    return {std::move(first), std::move(second)};
}

TEST(ReportText, RepresentativeComparisonByteForByte) {
    auto [first, second] = representativeSchemas();
    SchemaComparison comparison = compare(std::move(first), std::move(second));
    const std::u16string expected =
        u"Compare C:\\data\\a.mdb and C:\\data\\b.mdb\r\n"
        u"\r\n\r\nTable: Old - deleted"
        u"\r\n    Field: X - deleted\r\n"
        u"        type=MEMO\r\n        length=0\r\n        not autoincrement\r\n"
        u"        not nullable\r\n        default value=null\r\n        numeric scale=0\r\n"
        u"        precision=0"
        u"\r\n\r\nTable: Orders - changed"
        u"\r\n    Field: Name - changed\r\n        length=100\r\n        not nullable"
        // The second index carries no flags of its own, so everything but nulls 4 shows.
        u"\r\n    Index: IX - changed\r\n        column=Name\r\n        not PrimaryKey\r\n"
        u"        not Unique"
        u"\r\n    Primary Key: PK - changed\r\n        column=Id, Name"
        u"\r\n    Table Data Macro  - changed\r\n"
        u"\r\n\r\nTable: Customers - added"
        u"\r\n    Field: Id - added\r\n        type=LONG\r\n        length=4\r\n"
        u"        autoincrement\r\n        not nullable\r\n        default value=null\r\n"
        u"        numeric scale=0\r\n        precision=10\r\n        decimal places=auto"
        u"\r\n    Primary Key: PK - added\r\n        column=Id"
        u"\r\n    Foreign Key: FK - added\r\n        Id->Orders.Id\r\n        Cascade Delete"
        u"\r\n    Check Constraint: Positive - added\r\n        check=Id > 0"
        u"\r\n\r\nView: V1 - changed\r\n    SELECT 2"
        u"\r\n\r\nView: P - added\r\n    DELETE FROM Orders"
        u"\r\nForm      :     Main                     - deleted\r\n"
        u"\r\nReport    :     A report with a long name     - added\r\n";
    EXPECT_EQ(reportText(comparison), expected);
    // The report is rebuilt from scratch each time.
    EXPECT_EQ(reportText(comparison), expected);
}

TEST(ReportText, IdenticalSchemasGiveTheIdentitySentenceAsReportAndScript) {
    auto first = database(u"/a.mdb");
    auto second = database(u"/b.mdb");
    textField(table(*first, u"T"), u"F");
    textField(table(*second, u"t"), u"f");
    SchemaComparison comparison = compare(std::move(first), std::move(second));
    const std::u16string sentence =
        u"The structure of the database /a.mdb and /b.mdb are identical.";
    EXPECT_EQ(reportText(comparison), sentence);
    EXPECT_EQ(scriptText(comparison), sentence);
}

TEST(ReportBuilder, PartsWithoutShownPropertiesLeaveTheIndentedLine) {
    Table t(u"T");
    Key& key = fixture::key(t, {.name = u"K", .type = 0, .columns = {{u"A", nullptr}}});
    key.same() = {.relatedTable = true, .columns = true};
    CheckConstraint check(u"C", u"T", u"x");
    check.same().clause = true;

    ReportBuilder builder(dialect);
    builder.start(u"a", u"b");
    builder.add({&EmptyElement::instance(), &key, ElementState::Changed});
    builder.add({&check, &EmptyElement::instance(), ElementState::Deleted});
    builder.add({&EmptyElement::instance(), &EmptyElement::instance(), ElementState::Added});
    EXPECT_EQ(builder.text(), u"Compare a and b\r\n"
                              u"\r\n     Key: K - changed\r\n        "
                              u"\r\n    Check Constraint: C - deleted\r\n        ");
}

TEST(ReportBuilder, DocumentLinesPadLabelsAndNamesButNeverCut) {
    Entity::Macro macro(u"AutoExec", bytes("m"));
    Entity::Module module(u"Exactly twenty chars", bytes("m"));
    TableLinkedAccess linked(u"L", u"R", u"/x.mdb");

    ReportBuilder builder(dialect);
    builder.start(u"a", u"b");
    builder.add({&macro, &macro, ElementState::Changed});
    builder.add({&module, &EmptyElement::instance(), ElementState::Deleted});
    builder.add({&EmptyElement::instance(), &linked, ElementState::Added});
    EXPECT_EQ(builder.text(), u"Compare a and b\r\n"
                              u"\r\nMacro     :     AutoExec                 - changed\r\n"
                              u"\r\nModule    :     Exactly twenty chars     - deleted\r\n");
}

} // namespace
