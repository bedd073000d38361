// The run's report: counts, echoed commands, failure texts, and when the run stops.

#include "ExecutorFixture.h"
#include "TestComponents.h"

#include <fstream>

using namespace executortest;

namespace {

std::u16string createTable(int n) {
    return u"CREATE TABLE [T" + text::toWString(n) + u"] ([Id] LONG)";
}

// One statement per line.
std::u16string scriptOf(const std::vector<std::u16string>& statements) {
    std::u16string script;
    for (const std::u16string& statement : statements)
        script += statement + u";\n";
    return script;
}

const std::u16string duplicateFailure = u"\r\nError: Table 'T1' already exists.";

} // namespace

TEST_F(ExecutorTest, AllCommandsSucceedGivesOnlyTheCount) {
    RunResult result = run(scriptOf({createTable(1), createTable(2)}));
    EXPECT_EQ(u8(result.report), "Command(s) completed successfully: 2\r\n");
    EXPECT_FALSE(result.hasErrors);
}

TEST_F(ExecutorTest, VerboseEchoesEveryCommandWithItsLine) {
    RunResult result =
        run(u"-- two tables\n" + createTable(1) + u";\n\n" + createTable(2) + u"\n;\n", true, true);
    EXPECT_EQ(u8(result.report), "2\tCREATE TABLE [T1] ([Id] LONG)\r\n"
                                 "4\tCREATE TABLE [T2] ([Id] LONG)\r\n"
                                 "Command(s) completed successfully: 2\r\n");
}

// A run of 41 commands whose command on line 12 fails, going on after it.
TEST_F(ExecutorTest, FailedCommandIsReportedWithItsLineAndTheRunGoesOn) {
    std::vector<std::u16string> statements;
    for (int n = 1; n <= 41; ++n)
        statements.push_back(createTable(n == 12 ? 1 : n));
    RunResult result = run(scriptOf(statements), false);
    EXPECT_EQ(result.report, u"12\t" + createTable(1) + u"\r\n" + duplicateFailure +
                                 u"\r\n\r\nCommand(s) completed successfully: 40\r\n"
                                 u"Error(s): 1\r\n");
    EXPECT_TRUE(result.hasErrors);
    EXPECT_NO_THROW(column(u"T41", u"Id"));
}

TEST_F(ExecutorTest, StopOnErrorEndsTheRunAtTheFirstFailure) {
    RunResult result = run(scriptOf({createTable(1), createTable(1), createTable(3)}), true);
    EXPECT_EQ(result.report, u"2\t" + createTable(1) + u"\r\n" + duplicateFailure +
                                 u"\r\n\r\nCommand(s) completed successfully: 1\r\n"
                                 u"Error(s): 1\r\n");
    EXPECT_THROW(column(u"T3", u"Id"), engine::EngineError);
}

TEST_F(ExecutorTest, IgnoringErrorsReportsEachFailureInOrder) {
    RunResult result =
        run(scriptOf({createTable(1), createTable(1), createTable(2), createTable(2)}), false);
    EXPECT_EQ(result.report, u"2\t" + createTable(1) + u"\r\n" + duplicateFailure + u"\r\n\r\n4\t" +
                                 createTable(2) +
                                 u"\r\n\r\nError: Table 'T2' already exists.\r\n\r\n"
                                 u"Command(s) completed successfully: 2\r\nError(s): 2\r\n");
}

TEST_F(ExecutorTest, VerboseFailureIsEchoedOnce) {
    RunResult result = run(scriptOf({createTable(1), createTable(1)}), true, true);
    EXPECT_EQ(result.report, u"1\t" + createTable(1) + u"\r\n2\t" + createTable(1) + u"\r\n" +
                                 duplicateFailure +
                                 u"\r\n\r\nCommand(s) completed successfully: 1\r\n"
                                 u"Error(s): 1\r\n");
}

TEST_F(ExecutorTest, EmptyScriptNeverOpensTheDatabase) {
    description.path = u16(folder / "never.mdb");
    for (const char16_t* script : {u"", u"-- only a comment\n\n   \n"}) {
        RunResult result = run(script);
        EXPECT_EQ(u8(result.report), "");
        EXPECT_FALSE(result.hasErrors);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "never.mdb"));
}

TEST_F(ExecutorTest, MissingTargetStopsTheRunWithTheConnectionMessage) {
    description.path = u16(folder / "missing.mdb");
    RunResult result = run(scriptOf({createTable(1), createTable(2)}), false);
    EXPECT_EQ(result.report, u"Can't open database '" + description.path +
                                 u"'\n\r\nError: Could not find file '" + description.path +
                                 u"'.\r\n\r\n");
    EXPECT_TRUE(result.hasErrors);
    EXPECT_FALSE(std::filesystem::exists(folder / "missing.mdb"));
}

TEST_F(ExecutorTest, TargetThatIsNoDatabaseStopsTheRunAndStaysAsItWas) {
    std::filesystem::path path = folder / "notes.mdb";
    std::ofstream(path, std::ios::binary) << "just some notes, not a database\n";
    description.path = u16(path);
    RunResult result = run(scriptOf({createTable(1)}), false, true);
    EXPECT_EQ(result.report, u"1\t" + createTable(1) + u"\r\nCan't open database '" +
                                 description.path +
                                 u"'\n\r\nError: Unrecognized database format '" +
                                 description.path + u"'.\r\n\r\n");
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "just some notes, not a database\n");
}

TEST_F(ExecutorTest, UnrewritableUpdateFailsAsACommand) {
    runOk(u"CREATE TABLE [T] ([A] TEXT(20), [B] TEXT(20));");
    RunResult result = run(u"UPDATE [T] SET [A]=chr(65), [B]=Mid(\"abc\", 1, 2) WHERE 1=1;");
    EXPECT_TRUE(result.hasErrors);
    EXPECT_EQ(u8(result.report.substr(0, result.report.find(u"Error: ") + 7)),
              "1\tUPDATE [T] SET [A]=chr(65), [B]=Mid(\"abc\", 1, 2) WHERE 1=1\r\n\r\nError: ");
    EXPECT_NE(result.report.find(u"Can't rewrite the UPDATE statement"), std::u16string::npos);
}

TEST_F(ExecutorTest, ProgressCountsTheSuccessfulCommands) {
    connection.reset();
    std::u16string script = scriptOf({createTable(1), createTable(1), createTable(2)});
    Libs::Text::StringStream stream(script);
    SQLExecutor::ScriptExecutor executor(description, stream, false, false);
    CountingProgress progress;
    executor.run(progress);
    EXPECT_EQ(progress.starts, 1);
    EXPECT_EQ(progress.steps, 2);
    EXPECT_EQ(progress.finishes, 1);

    std::u16string failing = scriptOf({createTable(1)});
    Libs::Text::StringStream failingStream(failing);
    SQLExecutor::ScriptExecutor failingExecutor(description, failingStream, false, false);
    CountingProgress none;
    failingExecutor.run(none);
    EXPECT_EQ(none.steps, 0);
    EXPECT_EQ(none.finishes, 0);
}

namespace {

// The report of a one-command script whose command fails with the status and no description.
std::u16string reportOfUndescribedFailure(const database::DatabaseDescription& description,
                                          std::uint32_t status) {
    std::u16string script = u"DELETE FROM [Nothing];\n";
    Libs::Text::StringStream stream(script);
    FaultyComponents components(u"DELETE FROM [Nothing]", status);
    SQLExecutor::ScriptExecutor executor(description, stream, false, true, components);
    settings::FakeProgress progress;
    return executor.run(progress);
}

} // namespace

TEST_F(ExecutorTest, UnspecifiedFailureWithoutDescriptionHintsAtReservedWords) {
    EXPECT_EQ(u8(reportOfUndescribedFailure(description, 0x80004005)),
              "1\tDELETE FROM [Nothing]\r\n\r\nError: 80004005\r\nCheck syntax. If a reserved "
              "word is used as a table or a field name. Enclose that table and field names "
              "within square brackets.\r\n\r\nError(s): 1\r\n");
}

TEST_F(ExecutorTest, OtherFailureWithoutDescriptionIsUnknownError) {
    EXPECT_EQ(u8(reportOfUndescribedFailure(description, 0x800a0e7d)),
              "1\tDELETE FROM [Nothing]\r\n\r\nUnknown Error: 800a0e7d \r\nCheck "
              "permissions.\r\n\r\nError(s): 1\r\n");
}
