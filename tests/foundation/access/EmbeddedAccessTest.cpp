// The Access application of this platform, on real embedded databases.

#include "EmbeddedAccessFixture.h"

namespace accesstest {

TEST_F(EmbeddedAccess, EveryKindTravelsByteForByteAndOutlivesTheApplication) {
    access.start(description);
    ASSERT_TRUE(access.isStarted());
    const Bytes text = exportedText();
    for (int kind : {type::objectForm, type::objectReport, type::objectMacro, type::objectModule})
        access.importText(kind, u"Sales", text);
    access.importText(type::objectTableDataMacro, u"orders", bytesOf("<DataMacros/>"));
    EXPECT_TRUE(temporaryFiles().empty()) << "an import file was left behind";

    // Quit without saving: every import was saved when it was made.
    access.close();
    access.start(description);
    for (int kind : {type::objectForm, type::objectReport, type::objectMacro, type::objectModule})
        EXPECT_EQ(exported(kind, u"SALES"), text) << kind;
    EXPECT_EQ(exported(type::objectTableDataMacro, u"Orders"), bytesOf("<DataMacros/>"));

    // A new version replaces the old one.
    access.importText(type::objectForm, u"Sales", Bytes{'2'});
    EXPECT_EQ(exported(type::objectForm, u"Sales"), Bytes{'2'});
    EXPECT_EQ(exported(type::objectReport, u"Sales"), text);
}

TEST_F(EmbeddedAccess, DeletedObjectsAreGoneAndMissingOnesAreReported) {
    access.start(description);
    access.importText(type::objectForm, u"Main", bytesOf("f"));
    access.importText(type::objectModule, u"Main", bytesOf("m"));
    access.deleteObject(type::objectForm, u"main");
    EXPECT_EQ(exported(type::objectForm, u"Main"), std::nullopt);
    EXPECT_EQ(exported(type::objectModule, u"Main"), bytesOf("m"));

    const std::u16string missing = u"The application can't find the object 'Main'. Make sure "
                                   u"the object exists and that you spell its name correctly.";
    EXPECT_EQ(failureOf([&] { access.deleteObject(type::objectForm, u"Main"); }), missing);
    EXPECT_EQ(failureOf([&] {
                  access.application()->saveAsText(type::objectForm, u"Main", u16(folder / "x"));
              }),
              missing);
    EXPECT_FALSE(fs::exists(folder / "x"));
    // Data macros are removed by loading, not through DoCmd; tables are not documents.
    const std::u16string invalid =
        u"The object type argument for the action or method is blank or invalid.";
    EXPECT_EQ(failureOf([&] { access.deleteObject(type::objectTableDataMacro, u"Orders"); }),
              invalid);
    EXPECT_EQ(failureOf([&] { access.deleteObject(0, u"Orders"); }), invalid);
}

TEST_F(EmbeddedAccess, ASingleZeroByteRemovesATablesDataMacros) {
    access.start(description);
    // Removing what is not there is no failure.
    access.importText(type::objectTableDataMacro, u"Orders", Bytes{0});
    access.importText(type::objectTableDataMacro, u"Orders", bytesOf("<DataMacros/>"));
    EXPECT_EQ(storedDataMacros(u"Orders"), bytesOf("<DataMacros/>"));
    access.importText(type::objectTableDataMacro, u"Orders", Bytes{0});
    EXPECT_EQ(storedDataMacros(u"Orders"), std::nullopt);
    EXPECT_EQ(exported(type::objectTableDataMacro, u"Orders"), std::nullopt);

    // Only exactly one zero byte means removal; a zero byte of a form is a form.
    access.importText(type::objectTableDataMacro, u"Orders", Bytes{0, 0});
    EXPECT_EQ(storedDataMacros(u"Orders"), (Bytes{0, 0}));
    access.importText(type::objectForm, u"Zero", Bytes{0});
    EXPECT_EQ(exported(type::objectForm, u"Zero"), Bytes{0});

    EXPECT_EQ(failureOf([&] { access.importText(type::objectTableDataMacro, u"Nope", Bytes{0}); }),
              u"The database engine cannot find the input table or query 'Nope'. Make sure it "
              u"exists and that its name is spelled correctly.");
    EXPECT_EQ(
        failureOf([&] { access.importText(type::objectTableDataMacro, u"Linked", Bytes{1}); }),
        u"Cannot modify the design of table 'Linked'. It is in a linked database.");
}

TEST_F(EmbeddedAccess, RefusedImportsLeaveTheDatabaseFileAsItWas) {
    access.start(description);
    access.importText(type::objectForm, u"Kept", bytesOf("k"));
    Bytes before = readFile(description.path);
    EXPECT_NE(failureOf([&] { access.importText(type::objectForm, u"Bad.Name", bytesOf("x")); }),
              u"");
    EXPECT_NE(failureOf([&] { access.importText(type::objectForm, u"Empty", Bytes{}); }), u"");
    EXPECT_NE(failureOf([&] { access.importText(7, u"Other", bytesOf("x")); }), u"");
    EXPECT_EQ(failureOf([&] {
                  access.application()->loadFromText(type::objectForm, u"F", u16(folder / "none"));
              }),
              u"Could not find file '" + u16(folder / "none") + u"'.");
    EXPECT_TRUE(readFile(description.path) == before) << "a refused import changed the file";
    EXPECT_EQ(exported(type::objectForm, u"Kept"), bytesOf("k"));
}

TEST_F(EmbeddedAccess, ExportsNeverWriteThroughASymbolicLink) {
    access.start(description);
    access.importText(type::objectForm, u"Main", bytesOf("secret form"));
    fs::path victim = folder / "victim";
    writeFile(victim, bytesOf("keep me"));
    fs::create_symlink(victim, folder / "link");
    fs::create_symlink(folder / "absent", folder / "dangling");

    for (const char* name : {"link", "dangling"}) {
        std::u16string path = u16(folder / name);
        EXPECT_EQ(
            failureOf([&] { access.application()->saveAsText(type::objectForm, u"Main", path); }),
            u"The application can't save the output data to the file you've selected.");
        access.exportText(type::objectForm, u"Main", path); // the comparer ignores the status
        EXPECT_TRUE(fs::is_symlink(folder / name));
    }
    EXPECT_EQ(readFile(u16(victim)), bytesOf("keep me"));
    EXPECT_FALSE(fs::exists(folder / "absent"));

    // A plain file of the user is overwritten whole, and made private.
    writeFile(folder / "old", bytesOf("a much longer old content"));
    access.exportText(type::objectForm, u"Main", u16(folder / "old"));
    EXPECT_EQ(readFile(u16(folder / "old")), bytesOf("secret form"));
    EXPECT_EQ(fs::status(folder / "old").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(EmbeddedAccess, OnlyAnEmbeddedDatabaseWithTheRightPasswordStartsIt) {
    fs::path locked = folder / "locked.accdb";
    create(u16(locked), u"s3cret;x");
    database::DatabaseDescription protectedDb;
    protectedDb.path = u16(locked);
    protectedDb.databasePassword = u"wrong";
    EXPECT_EQ(failureOf([&] { access.start(protectedDb); }), u"Can't bind to the moniker");
    EXPECT_FALSE(access.isStarted());
    protectedDb.databasePassword = u"s3cret;x";
    access.start(protectedDb);
    access.importText(type::objectMacro, u"AutoExec", bytesOf("m"));
    EXPECT_EQ(exported(type::objectMacro, u"AutoExec"), bytesOf("m"));
    auto current = access.application()->currentDb();
    EXPECT_NE(current->tableDefs()->item(u"Orders"), nullptr);
    current->close();
    access.close();

    database::DatabaseDescription other;
    writeFile(folder / "notes.txt", bytesOf("not a database"));
    for (const fs::path& path : {folder / "notes.txt", folder / "missing.accdb", folder}) {
        other.path = u16(path);
        EXPECT_EQ(failureOf([&] { access.start(other); }), u"Can't find path to MSAccess");
    }
    other.path = description.path;
    other.userName = u"someone";
    EXPECT_EQ(failureOf([&] { access.start(other); }), u"Can't bind to the moniker");
}

TEST_F(EmbeddedAccess, AnApplicationThatQuitFailsItsCallsInsteadOfCrashing) {
    auto application = engine::components().startAccess({description.path, {}, {}, {}, {}});
    ASSERT_TRUE(application);
    auto doCmd = application->doCmd();
    application->quit(type::quitExit);
    application->quit(type::quitExit);
    application->closeCurrentDatabase();
    const std::u16string closed = u"There is no database open in the application.";
    EXPECT_EQ(failureOf([&] { application->currentDb(); }), closed);
    EXPECT_EQ(failureOf([&] { application->doCmd(); }), closed);
    EXPECT_EQ(failureOf([&] { doCmd->deleteObject(type::objectForm, u"F"); }), closed);
    EXPECT_EQ(
        failureOf([&] { application->saveAsText(type::objectForm, u"F", u16(folder / "f")); }),
        closed);
    EXPECT_EQ(
        failureOf([&] { application->loadFromText(type::objectForm, u"F", u16(folder / "f")); }),
        closed);
}

} // namespace accesstest
