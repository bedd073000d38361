// The editor window's commands on real files and real embedded databases.

#include "WindowTestSupport.h"

#include "foundation/platform/qt/CEditRion.h"
#include "foundation/platform/qt/QtText.h"
#include "runner/ui/CMainFrame.h"

#include <QTest>
#include <QTextBlock>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

using runner::ui::CMainFrame;
using runner::ui::FramePrompts;
namespace command = runner::ui::command;
using platform::qt::toQString;

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        forgetStoredSettings();
        auto owned = std::make_unique<TestPrompts>();
        prompts_ = owned.get();
        frame_ = std::make_unique<CMainFrame>(std::move(owned));
    }

    // A new database made through Create MDB, named without extension under the first filter.
    std::u16string createDatabase(const std::string& name) {
        prompts_->files.push_back({dir_.file(name), 0});
        frame_->createDatabase();
        return dir_.file(name + ".mdb");
    }

    QString output() const { return frame_->output()->toPlainText(); }

    TempDir dir_;
    TestPrompts* prompts_ = nullptr;
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrameTest, RunWithoutADatabaseAsksForOne) {
    frame_->editor()->setPlainText("CREATE TABLE [A] ([Id] LONG);");
    frame_->show();
    QApplication::setActiveWindow(frame_.get());
    frame_->editor()->setFocus();
    // Ctrl+R reaches the window also while the editor has the focus.
    QTest::keyClick(frame_->editor(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].title, "Can't open mdb file");
    EXPECT_EQ(prompts_->messages[0].text, "Choose a database file");
    EXPECT_EQ(output(), "");
}

TEST_F(MainFrameTest, RunPutsTheVerboseReportInTheOutputOfACreatedDatabase) {
    std::u16string db = createDatabase("new");
    EXPECT_TRUE(std::filesystem::exists(db));
    EXPECT_EQ(frame_->databaseStatus(), toQString(db));
    frame_->editor()->setPlainText("-- two tables\nCREATE TABLE [A] ([Id] LONG);\n\n"
                                   "CREATE TABLE [B] (\n  [Id] LONG\n);\n");
    frame_->run();
    EXPECT_TRUE(prompts_->messages.empty());
    EXPECT_EQ(output(), "2\tCREATE TABLE [A] ([Id] LONG)\n"
                        "4\tCREATE TABLE [B] ( [Id] LONG )\n"
                        "Command(s) completed successfully: 2\n");
    // Scrolled to the report's last line.
    EXPECT_EQ(frame_->output()->textCursor().block().blockNumber(),
              frame_->output()->document()->blockCount() - 1);
}

TEST_F(MainFrameTest, DoubleClickOnAFailedCommandSelectsItInTheEditor) {
    createDatabase("db");
    frame_->editor()->setPlainText("CREATE TABLE [A] ([Id] LONG);\n"
                                   "INSERT INTO [Nowhere]\n  VALUES (1);\n"
                                   "CREATE TABLE [B] ([Id] LONG);\n");
    frame_->show();
    frame_->run();
    QTextDocument* report = frame_->output()->document();
    QTextBlock failed;
    for (QTextBlock block = report->begin(); block.isValid(); block = block.next())
        if (block.text().startsWith("2\t"))
            failed = block;
    ASSERT_TRUE(failed.isValid()) << output().toStdString();

    QTextCursor atLine(failed);
    QPoint point = frame_->output()->cursorRect(atLine).center();
    QTest::mouseDClick(frame_->output()->viewport(), Qt::LeftButton, {}, point);
    QTextCursor cursor = frame_->editor()->textCursor();
    EXPECT_EQ(cursor.block().blockNumber(), 1);
    EXPECT_EQ(cursor.selectedText(),
              QString("INSERT INTO [Nowhere]") + QChar(0x2029) + "  VALUES (1);");

    // Lines without a number and numbers beyond the script move nothing.
    EXPECT_FALSE(frame_->goToReportedStatement("Error(s): 1"));
    EXPECT_FALSE(frame_->goToReportedStatement("99\tDROP TABLE [A];"));
}

TEST_F(MainFrameTest, ExecuteScriptRunsTheFileAndEmptiesTheEditor) {
    prompts_->databasePath = createDatabase("db");
    prompts_->scriptPath = dir_.write("s.sql", "CREATE TABLE [A] ([Id] LONG);\r\n"
                                               "CREATE TABLE [A] ([Id] LONG);\r\n"
                                               "CREATE TABLE [B] ([Id] LONG);\r\n");
    frame_->editor()->setPlainText("text that goes");
    frame_->executeScript();
    EXPECT_TRUE(prompts_->messages.empty());
    EXPECT_EQ(frame_->editor()->toPlainText(), "");
    // Not verbose, and the stored Stop on Error (none stored: true) ends the run.
    EXPECT_TRUE(output().startsWith("2\tCREATE TABLE [A] ([Id] LONG)\n\nError: "))
        << output().toStdString();
    EXPECT_TRUE(output().endsWith("Command(s) completed successfully: 1\nError(s): 1\n"));

    // Without a script file the dialog's answer is refused.
    prompts_->scriptPath.clear();
    frame_->executeScript();
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].title, "");
    EXPECT_EQ(prompts_->messages[0].text, "Choose a script file");
}

TEST_F(MainFrameTest, ExecuteScriptOfAMissingFileShowsTheReadersMessage) {
    prompts_->databasePath = createDatabase("db");
    prompts_->scriptPath = dir_.file("missing.sql");
    frame_->editor()->setPlainText("kept");
    frame_->executeScript();
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].text, "Can't open file " + toQString(prompts_->scriptPath));
    EXPECT_EQ(frame_->editor()->toPlainText(), "kept");
}

TEST_F(MainFrameTest, CreateMdbOverAnExistingFileFailsAndKeepsTheDatabase) {
    std::u16string db = createDatabase("first");
    std::u16string taken = dir_.write("taken.accdb", "not empty");
    prompts_->files.push_back({taken, 1});
    frame_->createDatabase();
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].title, "Can't save");
    EXPECT_EQ(prompts_->messages[0].icon, FramePrompts::Icon::Error);
    EXPECT_TRUE(prompts_->messages[0].text.startsWith("\nError: "));
    EXPECT_EQ(frame_->description().path, db);
    EXPECT_EQ(bytesOf(taken), "not empty");

    // The second filter gives ".accdb".
    prompts_->files.push_back({dir_.file("second"), 1});
    frame_->createDatabase();
    EXPECT_EQ(frame_->description().path, dir_.file("second.accdb"));
}

TEST_F(MainFrameTest, SaveWritesAUtf16ScriptBackInUtf16WithItsMark) {
    std::string utf16("\xFF\xFE", 2);
    for (char c : std::string("SELECT 1;\r\n"))
        utf16 += std::string{c, '\0'};
    std::u16string path = dir_.write("wide.sql", utf16);
    prompts_->files.push_back({path, 0});
    frame_->openScript();
    EXPECT_EQ(frame_->editor()->toPlainText(), "SELECT 1;\n");
    frame_->editor()->moveCursor(QTextCursor::End);
    frame_->editor()->insertPlainText(QString::fromUtf16(u"SELECT '\u00e9\u00a0';"));
    frame_->action(command::SaveScript)->trigger();
    std::string expected("\xFF\xFE", 2);
    // The no-break space stays one.
    for (char16_t c : std::u16string(u"SELECT 1;\r\nSELECT '\u00e9\u00a0';"))
        expected += std::string{char(c & 0xFF), char(c >> 8)};
    EXPECT_EQ(bytesOf(path), expected);
}

TEST_F(MainFrameTest, SaveAsAppendsSqlOnlyUnderTheScriptFilterToANameWithoutDot) {
    frame_->editor()->setPlainText("SELECT 1;");
    struct Case {
        std::string typed;
        int filter;
        std::string written;
    };
    for (const Case& c : {Case{"plain", 0, "plain.sql"}, Case{"with.txt", 0, "with.txt"},
                          Case{"other", 1, "other"}}) {
        prompts_->files.push_back({dir_.file(c.typed), c.filter});
        frame_->saveScriptAs();
        EXPECT_EQ(bytesOf(dir_.file(c.written)), "SELECT 1;") << c.typed;
    }
    // Save script uses the last name; an empty editor writes nothing.
    frame_->editor()->setPlainText("SELECT 2;");
    frame_->saveScript();
    EXPECT_EQ(bytesOf(dir_.file("other")), "SELECT 2;");
    frame_->editor()->clear();
    frame_->saveScript();
    EXPECT_EQ(bytesOf(dir_.file("other")), "SELECT 2;");
}

TEST_F(MainFrameTest, AScriptThatCannotBeReadLeavesTheEditorAndItsFileAlone) {
    std::u16string first = dir_.write("first.sql", "SELECT 1;\n");
    prompts_->files.push_back({first, 0});
    frame_->openScript();
    // A UTF-16 big-endian mark cannot be read.
    std::u16string bad = dir_.write("bad.sql", std::string("\xFE\xFF\0S", 4));
    prompts_->files.push_back({bad, 0});
    frame_->openScript();
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].title, "Error");
    EXPECT_EQ(prompts_->messages[0].text, "Can't open file " + toQString(bad));
    EXPECT_EQ(frame_->editor()->toPlainText(), "SELECT 1;\n");
    // Saving goes on writing the script's own file, never the unreadable one.
    frame_->editor()->setPlainText("SELECT 2;\n");
    frame_->saveScript();
    EXPECT_EQ(bytesOf(first), "SELECT 2;\n");
    EXPECT_EQ(bytesOf(bad), std::string("\xFE\xFF\0S", 4));
}

TEST_F(MainFrameTest, SaveToAnUnwritablePlaceShowsTheWritersMessage) {
    frame_->editor()->setPlainText("SELECT 1;");
    prompts_->files.push_back({dir_.file("no-such-folder/s.sql"), 0});
    frame_->saveScriptAs();
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_EQ(prompts_->messages[0].title, "Error");
    EXPECT_FALSE(prompts_->messages[0].text.isEmpty());
    EXPECT_EQ(frame_->editor()->toPlainText(), "SELECT 1;");
}

TEST_F(MainFrameTest, StopOnErrorStartsCheckedAndTwoTogglesRestoreIt) {
    QAction* stop = frame_->action(command::StopOnError);
    EXPECT_TRUE(stop->isChecked());
    stop->trigger();
    EXPECT_FALSE(stop->isChecked());
    EXPECT_FALSE(
        CMainFrame(std::make_unique<TestPrompts>()).action(command::StopOnError)->isChecked());
    stop->trigger();
    EXPECT_TRUE(stop->isChecked());
    EXPECT_TRUE(
        CMainFrame(std::make_unique<TestPrompts>()).action(command::StopOnError)->isChecked());
}

TEST_F(MainFrameTest, WithoutStopOnErrorEveryCommandRuns) {
    frame_->action(command::StopOnError)->trigger();
    createDatabase("db");
    frame_->editor()->setPlainText(
        "DROP TABLE [X];\nDROP TABLE [Y];\nCREATE TABLE [A] ([Id] LONG);");
    frame_->run();
    EXPECT_TRUE(output().endsWith("Command(s) completed successfully: 1\nError(s): 2\n"))
        << output().toStdString();
}

TEST_F(MainFrameTest, MenusAndBarsAsTheUserSeesThem) {
    EXPECT_EQ(frame_->windowTitle(), "Kelrun");
    EXPECT_EQ(frame_->action(command::OpenDatabase)->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(frame_->action(command::OpenScript)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(frame_->action(command::SaveScript)->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(frame_->action(command::Run)->shortcut(), QKeySequence("Ctrl+R"));
    EXPECT_EQ(frame_->action(command::Run)->statusTip(), "Run the current sql script");
    EXPECT_EQ(frame_->action(command::Run)->toolTip(), "Run");
    EXPECT_EQ(frame_->toolBar()->actions().size(), 3);

    frame_->show();
    QAction* toolbar = frame_->action(command::ViewToolbar);
    EXPECT_TRUE(toolbar->isChecked());
    toolbar->trigger();
    EXPECT_FALSE(toolbar->isChecked());
    EXPECT_FALSE(frame_->toolBar()->isVisible());

    // The Edit menu acts on the script editor even while the output has the focus.
    frame_->editor()->setPlainText("typed");
    frame_->editor()->selectAll();
    frame_->action(command::Cut)->trigger();
    EXPECT_EQ(frame_->editor()->toPlainText(), "");
    frame_->action(command::Undo)->trigger();
    EXPECT_EQ(frame_->editor()->toPlainText(), "typed");
}

} // namespace
