// The database dialogs and the window's progress during a run.

#include "WindowTestSupport.h"

#include "foundation/platform/qt/QtText.h"
#include "runner/stream/StringStream.h"
#include "runner/ui/DatabaseFields.h"
#include "runner/ui/FileChoice.h"
#include "runner/ui/OpenDbAndScriptDlg.h"
#include "runner/ui/OpenDbDlg.h"
#include "runner/ui/RunProgress.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

using runner::ui::DatabaseFields;

database::DatabaseDescription sample() {
    database::DatabaseDescription description;
    description.setConnectionFields(u"/data/shop.mdb", u"/data/system.mdw", u"secret", u"admin",
                                    u"word");
    return description;
}

TEST(OpenDbDlg, StartsWithTheDescriptionAndOkCopiesTheFieldsBack) {
    testApplication();
    database::DatabaseDescription description = sample();
    runner::ui::OpenDbDlg dialog(description);
    EXPECT_EQ(dialog.windowTitle(), "Open database");
    DatabaseFields* fields = dialog.fields();
    EXPECT_EQ(fields->field("databaseName")->text(), "/data/shop.mdb");
    EXPECT_EQ(fields->field("databasePassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(fields->field("userPassword")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(fields->field("userName")->echoMode(), QLineEdit::Normal);

    fields->field("userName")->setText("other");
    dialog.reject();
    EXPECT_EQ(description.userName, u"admin");
    fields->field("systemDatabase")->setText("");
    dialog.accept();
    EXPECT_EQ(description.userName, u"other");
    EXPECT_EQ(description.systemDatabase, u"");
    EXPECT_EQ(description.path, u"/data/shop.mdb");
}

TEST(OpenDbAndScriptDlg, RunStoresTheScriptFileToo) {
    testApplication();
    database::DatabaseDescription description = sample();
    std::u16string script = u"/data/a.sql";
    runner::ui::OpenDbAndScriptDlg dialog(description, script);
    EXPECT_EQ(dialog.windowTitle(), "Execute script");
    QStringList buttons;
    for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons())
        buttons << button->text();
    EXPECT_EQ(buttons, QStringList({"Run", "Cancel"}));
    EXPECT_EQ(dialog.scriptField()->text(), "/data/a.sql");
    dialog.scriptField()->setText("/data/b.sql");
    dialog.fields()->field("databaseName")->setText("/data/other.accdb");
    dialog.accept();
    EXPECT_EQ(script, u"/data/b.sql");
    EXPECT_EQ(description.path, u"/data/other.accdb");
}

TEST(FileChoice, ExtensionsOnlyForNamesWithoutDot) {
    using runner::ui::withFilterExtension;
    std::vector<std::u16string_view> extensions{u".mdb", u".accdb"};
    EXPECT_EQ(withFilterExtension(u"/a.b/name", 0, extensions), u"/a.b/name.mdb");
    EXPECT_EQ(withFilterExtension(u"/a/name", 1, extensions), u"/a/name.accdb");
    EXPECT_EQ(withFilterExtension(u"/a/name.x", 1, extensions), u"/a/name.x");
    EXPECT_EQ(withFilterExtension(u"/a/name", 2, extensions), u"/a/name");
    EXPECT_EQ(withFilterExtension(u"/a/name", -1, extensions), u"/a/name");
}

TEST(RunProgress, TellsTheShareReadAndTheCommandsCompleted) {
    std::u16string text = u"CREATE TABLE [A] ([Id] LONG);\nCREATE TABLE [B] ([Id] LONG);\n";
    Libs::Text::StringStream stream(text);
    std::vector<runner::ui::RunState> told;
    runner::ui::RunProgress progress(
        stream, 1, [&](const runner::ui::RunState& state) { told.push_back(state); },
        std::chrono::milliseconds(0));
    ASSERT_TRUE(progress.readLine());
    EXPECT_EQ(progress.currentLine(), u"CREATE TABLE [A] ([Id] LONG);\n");
    progress.step();
    ASSERT_TRUE(progress.readLine());
    EXPECT_FALSE(progress.readLine());
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told[0].percentRead, 50);
    EXPECT_EQ(told[1].commandsCompleted, 1);
    EXPECT_EQ(told[2].percentRead, 100);

    // A file read as UTF-16 holds two bytes per unit; the share never passes 100.
    Libs::Text::StringStream again(text);
    runner::ui::RunProgress wide(again, 2, [](const runner::ui::RunState&) {});
    while (wide.readLine()) {
    }
    EXPECT_EQ(wide.state().percentRead, 100);
}

} // namespace
