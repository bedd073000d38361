// The main window's commands and messages with the real presenter behind them.

#include "comparer/ui/COpenFilesDlg.h"
#include "foundation/settings/ComparerOptions.h"
#include "tests/comparer/FileBytes.h"
#include "tests/comparer_ui/MainWindowFixture.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>

#include <filesystem>
#include <fstream>

namespace {

using Command = CMainDlg::Command;
using settings::comparer::Options;

class WindowCommandsTest : public MainWindowFixture {};

TEST_F(WindowCommandsTest, MenuAndToolbarOfferEveryCommandInTheirOrder) {
    QStringList menus;
    std::vector<QStringList> items;
    for (QAction* menu : window.menuBar()->actions()) {
        menus << menu->text();
        QStringList texts;
        for (QAction* item : menu->menu()->actions())
            if (!item->isSeparator())
                texts << item->text();
        items.push_back(texts);
    }
    EXPECT_EQ(menus, QStringList({"&File", "&Tools", "Options", "&Help"}));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], QStringList({"&Open", "E&xit"}));
    EXPECT_EQ(items[1], QStringList({"&Compare", "&Shuffle", "Sc&ript", "Run &Kelrun"}));
    EXPECT_EQ(items[2],
              QStringList({"Compare hidden tables", "Compare fields order", "Compare Forms",
                           "Compare Macros", "Compare Modules", "Compare Reports",
                           "Compare Table Data Macros", "External diff ..."}));
    EXPECT_EQ(items[3], QStringList({"&About", "Show &Tips", "&Help"}));

    auto bars = window.findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 1);
    QStringList buttons;
    for (QAction* button : bars[0]->actions()) {
        buttons << button->text();
        EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_EQ(buttons, QStringList({"Open", "Compare", "Shuffle", "Script", "Help", "Exit"}));
    EXPECT_EQ(bars[0]->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    EXPECT_EQ(bars[0]->iconSize(), QSize(32, 32));
    EXPECT_EQ(window.windowTitle(), "Kelvor");
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(WindowCommandsTest, TheToolbarRaisesTheMenusCommands) {
    struct Recorder {
        void open() { ++opened; }
        int opened = 0;
    } recorder;
    window.onOpen.bind(recorder, &Recorder::open);
    QToolBar* bar = window.findChildren<QToolBar*>().at(0);
    bar->actions().at(0)->trigger();
    EXPECT_EQ(recorder.opened, 1);
}

TEST_F(WindowCommandsTest, EachOptionSetsItsMarkAndItsStoredSetting) {
    showWindow();
    const std::pair<Command, bool Options::*> switches[] = {
        {Command::CompareHiddenTables, &Options::compareHiddenTables},
        {Command::CompareFieldsOrder, &Options::compareFieldsOrder},
        {Command::CompareForms, &Options::compareForms},
        {Command::CompareMacros, &Options::compareMacros},
        {Command::CompareModules, &Options::compareModules},
        {Command::CompareReports, &Options::compareReports},
        {Command::CompareTableDataMacros, &Options::compareTableDataMacros},
    };
    for (auto [command, option] : switches) {
        SCOPED_TRACE(int(command));
        QAction* action = window.action(command);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isCheckable());
        EXPECT_FALSE(action->isChecked()); // set from the defaults when the window was shown
        for (bool expected : {true, false}) {
            action->trigger();
            EXPECT_EQ(action->isChecked(), expected);
            EXPECT_EQ(settings::comparer::OptionsManager().options().*option, expected);
        }
    }
}

TEST_F(WindowCommandsTest, MarksShownAtCreationComeFromTheStoredSettings) {
    settings::comparer::OptionsManager().setCompareReports(true);
    CMainDlg other;
    ComparerPresenter otherPresenter(other, false);
    other.show();
    EXPECT_TRUE(other.action(Command::CompareReports)->isChecked());
    EXPECT_FALSE(other.action(Command::CompareForms)->isChecked());
}

TEST_F(WindowCommandsTest, AMissingDatabaseIsReportedByTheWindowAndTheListEmpties) {
    giveDatabases(true);
    showWindow();
    QTRY_COMPARE(rows().rowCount(), 7);

    MessageBoxCatcher boxes;
    presenter->secondDatabase().path = wide(dir / "missing.mdb");
    window.action(Command::Compare)->trigger();
    QTRY_COMPARE(boxes.shown.size(), size_t(1));
    EXPECT_EQ(boxes.shown[0].caption, "can't open the file");
    EXPECT_TRUE(boxes.shown[0].text.startsWith(
        QString::fromStdString((dir / "missing.mdb").string()) + "\n"));
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.shown[0].owner, &window);
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.mdb"));

    // The window goes on working.
    presenter->secondDatabase().path = wide(second);
    window.action(Command::Compare)->trigger();
    QTRY_COMPARE(rows().rowCount(), 7);
}

TEST_F(WindowCommandsTest, ADamagedDatabaseIsReportedAndStaysAsItWas) {
    std::filesystem::path damaged = dir / "damaged.mdb";
    std::ofstream(damaged, std::ios::binary) << "not a database at all";
    std::string before = bytesOf(damaged.string());
    MessageBoxCatcher boxes;
    presenter->firstDatabase().path = wide(damaged);
    presenter->secondDatabase().path = wide(second);
    presenter->setDatabasesGivenAtStart(true);
    showWindow();
    QTRY_COMPARE(boxes.shown.size(), size_t(1));
    EXPECT_EQ(boxes.shown[0].caption, "can't open the file");
    EXPECT_EQ(rows().rowCount(), 0);
    EXPECT_EQ(bytesOf(damaged.string()), before);
}

TEST_F(WindowCommandsTest, IdenticalDatabasesEndWithAMessageWithoutIcon) {
    presenter->firstDatabase().path = wide(first);
    presenter->secondDatabase().path = wide(first);
    presenter->setDatabasesGivenAtStart(true);
    MessageBoxCatcher boxes;
    showWindow();
    QTRY_COMPARE(boxes.shown.size(), size_t(1));
    EXPECT_EQ(boxes.shown[0].caption, "finished");
    EXPECT_EQ(boxes.shown[0].text, "database schemas are identical");
    EXPECT_EQ(boxes.shown[0].icon, QMessageBox::NoIcon);
}

TEST_F(WindowCommandsTest, OpenFilesWithOkComparesTheChosenDatabases) {
    showWindow();
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<COpenFilesDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->firstFields().databaseName->setText(QString::fromStdString(first.string()));
        dialog->secondFields().databaseName->setText(QString::fromStdString(second.string()));
        dialog->okButton()->setFocus();
        dialog->okButton()->click();
        answered = true;
    });
    window.action(Command::Open)->trigger();
    EXPECT_TRUE(answered);
    QTRY_COMPARE(rows().rowCount(), 7);
    EXPECT_EQ(presenter->firstDatabase().path, wide(first));
    EXPECT_EQ(window.secondName().text().toStdString(), second.string());
}

TEST_F(WindowCommandsTest, StartupTipsComeOnceTheFirstComparisonIsDone) {
    struct Recorder {
        void record() { rowsThen.push_back(window->list().rows().rowCount()); }
        CMainDlg* window;
        std::vector<int> rowsThen;
    } recorder{&window, {}};
    window.onStartupTips.bind(recorder, &Recorder::record);
    giveDatabases(true);
    showWindow();
    QTRY_COMPARE(recorder.rowsThen.size(), size_t(1));
    EXPECT_EQ(recorder.rowsThen[0], 7);
    window.repaint();
    window.action(Command::Compare)->trigger();
    QTest::qWait(50);
    EXPECT_EQ(recorder.rowsThen.size(), 1u);
}

TEST_F(WindowCommandsTest, ShuffleSwapsTheSides) {
    giveDatabases(true);
    showWindow();
    QTRY_COMPARE(rows().rowCount(), 7);
    window.action(Command::Shuffle)->trigger();
    QTRY_COMPARE(texts(2)[FirstNameColumn], QString("Email"));
    EXPECT_EQ(texts(2)[ActionColumn], "deleted");
    EXPECT_EQ(window.firstName().text().toStdString(), second.string());
}

} // namespace
