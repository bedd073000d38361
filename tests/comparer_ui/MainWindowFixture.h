#pragma once

// The main window with its presenter, on two embedded databases that differ in a changed
// table (a field made longer, a field added), a deleted and an added table.

#include "comparer/ComparerPresenter.h"
#include "comparer/ui/CMainDlg.h"
#include "comparer/ui/CSplitterListViewCtrl.h"
#include "foundation/settings/ComparerOptions.h"
#include "tests/comparer/EmbeddedDatabases.h"
#include "tests/comparer/PrivateSettings.h"
#include "tests/comparer_ui/QtTestSupport.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture() {
        createDatabase(first, {u"CREATE TABLE [Customers] ([Id] LONG CONSTRAINT [PK_Customers] "
                               u"PRIMARY KEY, [Name] TEXT(50))",
                               u"CREATE TABLE [Orders] ([Id] LONG)"});
        createDatabase(second, {u"CREATE TABLE [Customers] ([Id] LONG CONSTRAINT "
                                u"[PK_Customers] PRIMARY KEY, [Name] TEXT(80), [Email] TEXT(100))",
                                u"CREATE TABLE [Invoices] ([Id] LONG)"});
        // The tips window is modal and has tests of its own; here it would wait for a click.
        settings::comparer::OptionsManager().setTips(false, 0);
        presenter = std::make_unique<ComparerPresenter>(window, false);
    }

    // Both paths, as the command line gives them.
    void giveDatabases(bool atStart) {
        presenter->firstDatabase().path = wide(first);
        presenter->secondDatabase().path = wide(second);
        presenter->setDatabasesGivenAtStart(atStart);
    }

    // Shows the window and waits until it has painted and handled what that queued.
    void showWindow() {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }

    ResultListModel& rows() { return window.list().rows(); }

    // The texts of one row's seven columns.
    std::vector<QString> texts(int row) {
        std::vector<QString> result;
        for (int column = 0; column < ResultColumnCount; ++column)
            result.push_back(rows().index(row, column).data().toString());
        return result;
    }

    // The row whose first or second name is the text.
    int rowNamed(const QString& name) {
        for (int row = 0; row < rows().rowCount(); ++row)
            if (texts(row)[FirstNameColumn] == name || texts(row)[SecondNameColumn] == name)
                return row;
        return -1;
    }

    PrivateSettings isolated;
    ScratchFolder dir;
    std::filesystem::path first = dir / "first.db";
    std::filesystem::path second = dir / "second.db";
    CMainDlg window;
    std::unique_ptr<ComparerPresenter> presenter;
};
