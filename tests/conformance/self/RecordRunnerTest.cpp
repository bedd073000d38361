#include "tests/conformance/RecordRunner.h"
#include "tests/conformance/Backend.h"
#include "tests/conformance/ConformanceFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace conformance {
namespace {

class ConformanceRunner : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kel-conformance-self-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        path = folder / "db.accdb";
        backends = allBackends(KEL_ACCESS_DATA_DIR);
        connection = backends.front()->create(path);
    }
    void TearDown() override {
        connection->close();
        std::filesystem::remove_all(folder);
    }

    FileOutcome run(const std::string& text) {
        ParsedFile file = parseConformanceText("x.test", text);
        EXPECT_TRUE(file.errors.empty()) << file.errors.front();
        return runRecords(file.records, *backends.front(), connection, path);
    }

    std::vector<std::unique_ptr<Backend>> backends;
    std::filesystem::path folder, path;
    std::shared_ptr<engine::ado::Connection> connection;
};

TEST_F(ConformanceRunner, WrongExpectationsFailAtTheirRecordsLine) {
    FileOutcome outcome = run("statement ok\n"
                              "CREATE TABLE [T] ([Id] LONG, [Name] TEXT(10))\n"
                              "\n"
                              "# the table exists: the first error is right, the second wrong\n"
                              "statement error Table 'T' already exists.\n"
                              "CREATE TABLE [T] ([Id] LONG)\n"
                              "\n"
                              "statement error Something else.\n"
                              "CREATE TABLE [T] ([Id] LONG)\n"
                              "\n"
                              "statement ok\n"
                              "INSERT INTO [T] VALUES (2, 'two')\n"
                              "\n"
                              "query IT\n"
                              "SELECT [Id], [Name] FROM [T]\n"
                              "----\n"
                              "2|one\n"
                              "\n"
                              "statement error Table 'U' already exists.\n"
                              "CREATE TABLE [U] ([Id] LONG)\n");
    EXPECT_EQ(outcome.passed, 3);
    ASSERT_EQ(outcome.failures.size(), 3u);
    EXPECT_EQ(outcome.failures[0].line, 8);
    EXPECT_NE(outcome.failures[0].message.find("Table 'T' already exists."), std::string::npos);
    EXPECT_EQ(outcome.failures[1].line, 14);
    EXPECT_NE(outcome.failures[1].message.find("2|two"), std::string::npos);
    EXPECT_EQ(outcome.failures[2].line, 19);
    EXPECT_NE(outcome.failures[2].message.find("succeeded"), std::string::npos);
}

TEST_F(ConformanceRunner, RecordsOfAnotherBackendAreSkippedAndCounted) {
    const std::string text = "onlyif jet4: only the Jet 4 file has this limit\n"
                             "statement error Not here.\n"
                             "CREATE TABLE [T] ([Id] LONG)\n"
                             "\n"
                             "skipif access: the Access files keep it differently\n"
                             "statement ok\n"
                             "CREATE TABLE [T] ([Id] LONG)\n";
    FileOutcome embedded = run(text);
    EXPECT_EQ(embedded.passed, 1);
    EXPECT_EQ(embedded.skipped, 1);
    EXPECT_TRUE(embedded.failures.empty());
    ParsedFile file = parseConformanceText("x.test", text);
    EXPECT_TRUE(file.records[0].appliesTo("jet4"));
    EXPECT_FALSE(file.records[0].appliesTo("ace"));
    EXPECT_FALSE(file.records[1].appliesTo("ace"));
    EXPECT_EQ(file.records[1].line, 5);
}

TEST_F(ConformanceRunner, RowsAreSortedUnlessTheQueryOrdersThem) {
    FileOutcome outcome = run("statement ok\n"
                              "CREATE TABLE [T] ([Id] LONG, [Note] TEXT(10))\n"
                              "\n"
                              "statement ok\n"
                              "INSERT INTO [T] VALUES (2, Null)\n"
                              "\n"
                              "statement ok\n"
                              "INSERT INTO [T] VALUES (1, 'a')\n"
                              "\n"
                              "query IT\n"
                              "SELECT * FROM [T]\n"
                              "----\n"
                              "1|a\n"
                              "2|NULL\n"
                              "\n"
                              "query IT\n"
                              "SELECT * FROM [T] ORDER BY [Id] DESC\n"
                              "----\n"
                              "1|a\n"
                              "2|NULL\n"
                              "\n"
                              "# a bracketed name is not an ORDER BY\n"
                              "query I\n"
                              "SELECT [Id] AS [ORDER BY] FROM [T]\n"
                              "----\n"
                              "1\n"
                              "2\n"
                              "\n"
                              "query TI\n"
                              "SELECT [Id], [Note] FROM [T] ORDER BY [Id]\n"
                              "----\n"
                              "1|a\n"
                              "2|NULL\n");
    EXPECT_EQ(outcome.passed, 5);
    ASSERT_EQ(outcome.failures.size(), 2u);
    EXPECT_EQ(outcome.failures[0].line, 16); // in the wrong order
    EXPECT_EQ(outcome.failures[1].line, 29); // a number where the record says text
    EXPECT_NE(outcome.failures[1].message.find("column 1"), std::string::npos);
}

TEST(ConformanceFile, MalformedFilesSayWhereAndWhy) {
    ParsedFile file = parseConformanceText("x.test", "skipif sqlserver: nope\n"
                                                     "statement ok\n"
                                                     "SELECT 1\n"
                                                     "\n"
                                                     "onlyif ace\n"
                                                     "query I\n"
                                                     "SELECT 1\n"
                                                     "\n"
                                                     "query Q\n"
                                                     "SELECT 1\n"
                                                     "----\n"
                                                     "\n"
                                                     "frobnicate\n");
    std::vector<std::string> expected{
        "line 1: unknown backend 'sqlserver'", "line 5: a condition needs its reason after ':'",
        "line 6: a query or catalog record needs '----' before its "
        "result",
        "line 9: unknown column type in 'Q'", "line 13: expected a record, found 'frobnicate'"};
    EXPECT_EQ(file.errors, expected);
}

} // namespace
} // namespace conformance
