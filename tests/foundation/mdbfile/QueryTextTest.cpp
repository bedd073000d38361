#include "AccessFiles.h"

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/mdbfile/QueryText.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <map>

using namespace engine;
using engine::mdbfile::buildQuery;
using engine::mdbfile::QueryRow;

namespace {

std::map<std::u16string, catalog::Query> queriesOf(const std::string& file) {
    std::map<std::u16string, catalog::Query> queries;
    auto catalog = mdbtest::openAccessFile(file)->catalog();
    for (const catalog::Query& q : catalog->queries)
        queries[q.name] = q;
    return queries;
}

QueryRow row(int attribute, std::u16string expression = {}, int flag = 0, std::u16string name1 = {},
             std::u16string name2 = {}, int extra = 0) {
    return {attribute, std::move(expression), flag, std::move(name1), std::move(name2), extra};
}

constexpr int typeRow = 1, parameterRow = 2, flagRow = 3, remoteRow = 4, tableRow = 5,
              columnRow = 6, joinRow = 7, whereRow = 8;

std::u16string textOf(const std::vector<QueryRow>& rows) {
    auto query = buildQuery(u"q", rows);
    return query ? query->text : u"<none>";
}

} // namespace

// Every kind of saved query, as the engine writes it back, in Jet 4 and ACE files.
TEST(SavedQueries, TextOfEveryKindOfQuery) {
    for (const char* file : {"queryTestV2003.mdb", "queryTestV2010.accdb"}) {
        SCOPED_TRACE(file);
        auto q = queriesOf(file);
        ASSERT_EQ(q.size(), 9u);
        EXPECT_EQ(q[u"SelectQuery"].text,
                  u"SELECT DISTINCT Table1.*, Table2.col1, Table2.col2, Table3.col3\r\n"
                  u"FROM (Table1 LEFT JOIN Table3 ON Table1.col1 = Table3.col1) INNER JOIN "
                  u"Table2 ON (Table3.col1 = Table2.col1) AND (Table3.col1 = Table2.col2)\r\n"
                  u"WHERE (((Table2.col2)=\"foo\" Or (Table2.col2) In (\"buzz\",\"bazz\")))\r\n"
                  u"ORDER BY Table2.col1;");
        EXPECT_EQ(q[u"DeleteQuery"].text, u"DELETE Table1.col1, Table1.col2, Table1.col3\r\n"
                                          u"FROM Table1\r\n"
                                          u"WHERE (((Table1.col1)>\"blah\"));");
        EXPECT_EQ(q[u"AppendQuery"].text,
                  u"INSERT INTO Table3 ( col2, col2, col3 )\r\n"
                  u"SELECT [Table1].[col2], [Table2].[col2], [Table2].[col3]\r\n"
                  u"FROM Table3, Table1 INNER JOIN Table2 ON [Table1].[col1]=[Table2].[col1];");
        EXPECT_EQ(q[u"UpdateQuery"].text,
                  u"PARAMETERS [User Name] Text ( 255 );\r\n"
                  u"UPDATE Table1\r\n"
                  u"SET Table1.col1 = \"foo\", Table1.col2 = [Table2].[col3], [Table2].[col1] "
                  u"= [User Name]\r\n"
                  u"WHERE ((([Table2].[col1]) Is Not Null));");
        EXPECT_EQ(q[u"MakeTableQuery"].text,
                  u"SELECT Max(Table2.col1) AS MaxOfcol1, Table2.col2, Table3.col2 INTO "
                  u"Table4\r\n"
                  u"FROM (Table2 INNER JOIN Table1 ON Table2.col1 = Table1.col2) RIGHT JOIN "
                  u"Table3 ON Table1.col2 = Table3.col3\r\n"
                  u"GROUP BY Table2.col2, Table3.col2\r\n"
                  u"HAVING (((Max(Table2.col1))=\"buzz\") AND ((Table2.col2)<>\"blah\"));");
        EXPECT_EQ(q[u"CrosstabQuery"].text,
                  u"TRANSFORM Count([Table2].[col2]) AS CountOfcol2\r\n"
                  u"SELECT Table2_1.col1, [Table2].[col3], Avg(Table2_1.col2) AS AvgOfcol2\r\n"
                  u"FROM (Table1 INNER JOIN Table2 ON [Table1].[col1]=[Table2].[col1]) INNER "
                  u"JOIN Table2 AS Table2_1 ON [Table2].[col1]=Table2_1.col3\r\n"
                  u"WHERE ((([Table1].[col1])>\"10\") And ((Table2_1.col1) Is Not Null) And "
                  u"((Avg(Table2_1.col2))>\"10\"))\r\n"
                  u"GROUP BY Table2_1.col1, [Table2].[col3]\r\n"
                  u"ORDER BY [Table2].[col3]\r\n"
                  u"PIVOT [Table1].[col1];");
        EXPECT_EQ(q[u"UnionQuery"].text, u"Select Table1.col1, Table1.col2\r\n"
                                         u"where Table1.col1 = \"foo\"\r\n"
                                         u"UNION\r\n"
                                         u"Select Table2.col1, Table2.col2\r\n"
                                         u"UNION ALL Select Table3.col1, Table3.col2\r\n"
                                         u"where Table3.col3 > \"blah\";");
        EXPECT_EQ(q[u"PassthroughQuery"].text, u"ALTER TABLE Table4 DROP COLUMN col5;");
        EXPECT_EQ(q[u"DataDefinitionQuery"].text, u"CREATE TABLE Table5 (col1 CHAR, col2 CHAR);");

        // Row-returning queries without parameters are views, the rest procedures.
        for (const char* view : {"SelectQuery", "CrosstabQuery", "UnionQuery"})
            EXPECT_FALSE(q[text::fromUtf8(view)].procedure) << view;
        for (const char* procedure : {"DeleteQuery", "AppendQuery", "UpdateQuery", "MakeTableQuery",
                                      "PassthroughQuery", "DataDefinitionQuery"})
            EXPECT_TRUE(q[text::fromUtf8(procedure)].procedure) << procedure;
        ASSERT_EQ(q[u"UpdateQuery"].parameters.size(), 1u);
        EXPECT_EQ(q[u"UpdateQuery"].parameters[0].name, u"User Name");
        EXPECT_EQ(q[u"UpdateQuery"].parameters[0].type, type::varWChar);
        EXPECT_EQ(q[u"UpdateQuery"].parameters[0].size, 255);
    }
}

TEST(SavedQueries, Jet3QueriesWithParametersTopAndNestedJoins) {
    auto q = queriesOf("nwind.mdb");
    const catalog::Query& sales = q[u"Employee Sales by Country"];
    EXPECT_TRUE(sales.procedure);
    ASSERT_EQ(sales.parameters.size(), 2u);
    EXPECT_EQ(sales.parameters[1].name, u"Ending Date");
    EXPECT_EQ(sales.parameters[1].type, type::date);
    EXPECT_EQ(sales.parameters[1].size, 0);
    EXPECT_EQ(sales.text.substr(0, 63),
              u"PARAMETERS [Beginning Date] DateTime, [Ending Date] DateTime;\r\n");
    EXPECT_NE(sales.text.find(u"FROM Employees INNER JOIN (Orders INNER JOIN [Order Subtotals] "
                              u"ON Orders.OrderID = [Order Subtotals].OrderID) ON "
                              u"Employees.EmployeeID = Orders.EmployeeID\r\n"),
              std::u16string::npos);
    EXPECT_EQ(q[u"Ten Most Expensive Products"].text,
              u"SELECT DISTINCTROW TOP 10 Products.ProductName AS TenMostExpensiveProducts, "
              u"Products.UnitPrice\r\n"
              u"FROM Products\r\n"
              u"ORDER BY Products.UnitPrice DESC;");
    EXPECT_EQ(q[u"Current Product List"].text,
              u"SELECT [Product List].ProductID, [Product List].ProductName\r\n"
              u"FROM Products AS [Product List]\r\n"
              u"WHERE ((([Product List].Discontinued)=No))\r\n"
              u"ORDER BY [Product List].ProductName;");
    EXPECT_FALSE(q[u"Customers and Suppliers by City"].procedure);
}

TEST(SavedQueries, ClausesFromRows) {
    EXPECT_EQ(textOf({row(typeRow, {}, 1), row(flagRow, {}, 0x10 | 0x20 | 0x04, u"5"),
                      row(tableRow, {}, 0, u"Order Details", u"od"),
                      row(columnRow, u"od.Qty", 0, u"Some.Alias")}),
              u"SELECT TOP 5 PERCENT od.Qty AS [Some.Alias]\r\n"
              u"FROM [Order Details] AS od\r\n"
              u"WITH OWNERACCESS OPTION;");
    EXPECT_EQ(textOf({row(typeRow, {}, 1), row(flagRow, {}, 0x01),
                      row(remoteRow, u"dBASE IV;", 0, u"C:\\data"), row(tableRow, {}, 0, u"T")}),
              u"SELECT *\r\nFROM T IN 'C:\\data' [dBASE IV;];");
    auto parameters = buildQuery(u"p", {row(typeRow, {}, 1), row(parameterRow, {}, 3, u"INT_VAL"),
                                        row(parameterRow, {}, 10, u"TextVal", {}, 50),
                                        row(parameterRow, {}, 0, u"[X]"), row(flagRow, {}, 1),
                                        row(tableRow, {}, 0, u"T")});
    ASSERT_TRUE(parameters);
    EXPECT_EQ(parameters->text,
              u"PARAMETERS INT_VAL Short, TextVal Text ( 50 ), [X] Value;\r\nSELECT *\r\nFROM T;");
    EXPECT_TRUE(parameters->procedure);
    EXPECT_EQ(parameters->parameters[0].type, type::smallInt);
    EXPECT_EQ(parameters->parameters[1].size, 50);
    EXPECT_EQ(textOf({row(typeRow, {}, 1), row(flagRow, {}, 0x01), row(tableRow, {}, 0, u"A"),
                      row(whereRow, u"x=1")}),
              u"SELECT *\r\nFROM A\r\nWHERE x=1;");
    EXPECT_EQ(textOf({row(typeRow, {}, 3, u"Target"), row(columnRow, u"1", 0x8000),
                      row(columnRow, u"\"a\"", 0x8000)}),
              u"INSERT INTO Target\r\nVALUES (1, \"a\");");
    // The text of a data-definition query is stored with a closing NUL.
    EXPECT_EQ(textOf({row(typeRow, std::u16string(u"DROP TABLE T;") + u'\0', 7)}),
              u"DROP TABLE T;");
}

TEST(SavedQueries, RowsThatDescribeNoQueryAreLeftOut) {
    // An unknown query type, an unknown join type, a join naming a table the query lacks, two
    // flag rows, a union without its parts, an unknown parameter type.
    EXPECT_EQ(textOf({row(typeRow, {}, 42)}), u"<none>");
    EXPECT_EQ(textOf({row(typeRow, {}, 1), row(tableRow, {}, 0, u"A"), row(tableRow, {}, 0, u"B"),
                      row(joinRow, u"A.x=B.x", 5, u"A", u"B")}),
              u"<none>");
    EXPECT_EQ(textOf({row(typeRow, {}, 1), row(tableRow, {}, 0, u"A"),
                      row(joinRow, u"A.x=C.x", 1, u"A", u"C")}),
              u"<none>");
    EXPECT_EQ(textOf({row(typeRow, {}, 1), row(flagRow), row(flagRow)}), u"<none>");
    EXPECT_EQ(textOf({row(typeRow, {}, 9)}), u"<none>");
    EXPECT_EQ(textOf({row(typeRow, {}, 1), row(parameterRow, {}, 99, u"p")}), u"<none>");
    EXPECT_EQ(textOf({}), u"<none>");
    // Two joins of the same tables with different types contradict each other.
    EXPECT_EQ(
        textOf({row(typeRow, {}, 1), row(tableRow, {}, 0, u"A"), row(tableRow, {}, 0, u"B"),
                row(joinRow, u"A.x=B.x", 1, u"A", u"B"), row(joinRow, u"A.y=B.y", 2, u"A", u"B")}),
        u"<none>");
}
