// The "Open files" and "External diff" dialogs on their own.

#include "comparer/ui/COpenFilesDlg.h"
#include "comparer/ui/ExternalDiffOptionsDlg.h"
#include "tests/comparer_ui/QtTestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using database::DatabaseDescription;

class OpenFilesDlgTest : public ::testing::Test {
protected:
    OpenFilesDlgTest() {
        first.title = u"Title";
        first.path = u"/data/a.mdb";
        first.databasePassword = u"secret";
        second.userName = u"admin";
        dialog = std::make_unique<COpenFilesDlg>(first, second);
    }

    void showDialog() {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        dialog->activateWindow();
    }

    DatabaseDescription first;
    DatabaseDescription second;
    std::unique_ptr<COpenFilesDlg> dialog;
};

TEST_F(OpenFilesDlgTest, FieldsAreFilledFromTheDescriptionsWithPasswordsMasked) {
    EXPECT_EQ(dialog->firstFields().databaseName->text(), "/data/a.mdb");
    EXPECT_EQ(dialog->firstFields().databasePassword->text(), "secret");
    EXPECT_EQ(dialog->secondFields().userName->text(), "admin");
    for (const auto* fields : {&dialog->firstFields(), &dialog->secondFields()}) {
        EXPECT_EQ(fields->databasePassword->echoMode(), QLineEdit::Password);
        EXPECT_EQ(fields->userPassword->echoMode(), QLineEdit::Password);
        EXPECT_EQ(fields->databaseName->echoMode(), QLineEdit::Normal);
        EXPECT_NE(fields->databaseName->completer(), nullptr);
        EXPECT_NE(fields->systemDatabase->completer(), nullptr);
    }
}

TEST_F(OpenFilesDlgTest, EnterInAFieldMovesToTheNextFieldInsteadOfClosing) {
    showDialog();
    QLineEdit* name = dialog->firstFields().databaseName;
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->focusWidget(), dialog->firstFields().databasePassword);
    // The last field of the first group leads on to the second group.
    dialog->firstFields().systemDatabase->setFocus();
    QTest::keyClick(dialog->firstFields().systemDatabase, Qt::Key_Return);
    EXPECT_EQ(dialog->focusWidget(), dialog->secondFields().databaseName);
    EXPECT_EQ(first.path, u"/data/a.mdb");
    EXPECT_EQ(first.title, u"Title");
}

TEST_F(OpenFilesDlgTest, OkWithoutASecondNameAsksForItAfterUpdatingTheFirst) {
    showDialog();
    dialog->firstFields().databaseName->setText("/data/b.mdb");
    dialog->firstFields().userName->setText("me");
    MessageBoxCatcher boxes;
    dialog->okButton()->setFocus();
    QTest::keyClick(dialog->okButton(), Qt::Key_Return);
    QTRY_COMPARE(boxes.shown.size(), size_t(1));
    EXPECT_EQ(boxes.shown[0].text, "Select \"Second database\"");
    EXPECT_EQ(boxes.shown[0].caption, "");
    EXPECT_EQ(boxes.shown[0].owner, dialog.get());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(first.path, u"/data/b.mdb");
    EXPECT_EQ(first.userName, u"me");
    EXPECT_EQ(first.databasePassword, u"secret");
    EXPECT_EQ(first.title, u"");
    EXPECT_EQ(dialog->focusWidget(), dialog->secondFields().databaseName);
}

TEST_F(OpenFilesDlgTest, OkWithoutAFirstNameAsksForItAndChangesNothing) {
    showDialog();
    dialog->firstFields().databaseName->clear();
    dialog->secondFields().databaseName->setText("/data/c.mdb");
    MessageBoxCatcher boxes;
    dialog->okButton()->setFocus();
    dialog->okButton()->click();
    QTRY_COMPARE(boxes.shown.size(), size_t(1));
    EXPECT_EQ(boxes.shown[0].text, "Select \"First database\"");
    EXPECT_EQ(first.path, u"/data/a.mdb");
    EXPECT_EQ(second.path, u"");
}

TEST_F(OpenFilesDlgTest, CancelChangesNothing) {
    showDialog();
    dialog->firstFields().databaseName->setText("/other.mdb");
    dialog->reject();
    EXPECT_EQ(first.path, u"/data/a.mdb");
    EXPECT_EQ(first.title, u"Title");
}

TEST(ExternalDiffOptionsDlgTest, ShowsTheOptionsAndStoresThemOnOkOnly) {
    settings::comparer::Options options;
    options.useExternalDiff = false;
    options.externalDiffCommand = u"meld %p1 %p2";
    {
        ExternalDiffOptionsDlg dialog(options);
        EXPECT_EQ(dialog.example()->text(), "\"/usr/bin/meld\" %p1 %p2");
        EXPECT_TRUE(dialog.example()->isReadOnly());
        EXPECT_EQ(dialog.commandLine()->text(), "meld %p1 %p2");
        EXPECT_FALSE(dialog.useExternalDiff()->isChecked());
        dialog.useExternalDiff()->setChecked(true);
        dialog.commandLine()->setText("kdiff3 %p1 %p2");
        dialog.reject();
        EXPECT_FALSE(options.useExternalDiff);
        EXPECT_EQ(options.externalDiffCommand, u"meld %p1 %p2");
    }
    ExternalDiffOptionsDlg dialog(options);
    dialog.useExternalDiff()->setChecked(true);
    dialog.commandLine()->setText("kdiff3 %p1 %p2");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(options.useExternalDiff);
    EXPECT_EQ(options.externalDiffCommand, u"kdiff3 %p1 %p2");
}

} // namespace
