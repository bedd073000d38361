#include "FakeAccess.h"

#include "foundation/access/AccessApplication.h"
#include "foundation/access/TemporaryFileName.h"
#include "foundation/database/Exceptions.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/platform/UserDirectories.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdlib.h>
#include <sys/stat.h>

namespace accesstest {

namespace {

using automation::AccessApplication;

// The engine's components, with an Access application of the test's choosing.
class ChosenAccess : public engine::Components {
public:
    std::shared_ptr<engine::ado::Connection> createConnection() override {
        return engine::components().createConnection();
    }
    std::shared_ptr<engine::ado::Command> createCommand() override {
        return engine::components().createCommand();
    }
    std::shared_ptr<engine::adox::Catalog> createCatalog() override {
        return engine::components().createCatalog();
    }
    std::shared_ptr<engine::adox::Table> createTable() override {
        return engine::components().createTable();
    }
    std::shared_ptr<engine::dao::DBEngine> createDBEngine(std::u16string_view id) override {
        return engine::components().createDBEngine(id);
    }
    std::shared_ptr<engine::access::Application>
    startAccess(const engine::OpenParameters& database) override {
        opened = database;
        if (bindFails)
            throw engine::EngineError(engine::status::authentication, u"Not a valid password.");
        return application;
    }

    std::shared_ptr<FakeApplication> application = std::make_shared<FakeApplication>();
    bool bindFails = false;
    engine::OpenParameters opened;
};

std::u16string startFailure(AccessApplication& access,
                            const database::DatabaseDescription& description) {
    try {
        access.start(description);
    } catch (const database::Exception& exception) {
        return exception.message();
    }
    return u"";
}

database::DatabaseDescription describe(std::u16string path) {
    database::DatabaseDescription description;
    description.path = std::move(path);
    return description;
}

} // namespace

TEST(AccessCommandLine, NamesTheDatabaseAndTheGivenCredentialsWithoutSeparators) {
    database::DatabaseDescription description = describe(u"C:\\data\\my db.mdb");
    EXPECT_EQ(AccessApplication::commandLine(description),
              u"MSACCESS.EXE \"C:\\data\\my db.mdb\" /nostartup ");
    description.userName = u"admin";
    description.userPassword = u"secret";
    description.systemDatabase = u"system.mdw";
    description.databasePassword = u"not on the command line";
    EXPECT_EQ(AccessApplication::commandLine(description),
              u"MSACCESS.EXE \"C:\\data\\my db.mdb\" /nostartup /user admin/pwd secret/wrkgrp "
              u"system.mdw");
    description.userName.clear();
    EXPECT_EQ(AccessApplication::commandLine(description),
              u"MSACCESS.EXE \"C:\\data\\my db.mdb\" /nostartup /pwd secret/wrkgrp system.mdw");
}

TEST(TemporaryFileName, FreshNamesInTheTemporaryFolderThatAreNotCreated) {
    std::u16string first = automation::temporaryFileName(automation::kExportFilePrefix);
    std::u16string second = automation::temporaryFileName(automation::kExportFilePrefix);
    EXPECT_NE(first, second);
    std::u16string folder = platform::tempDirectory();
    ASSERT_TRUE(first.starts_with(folder + u"kvs-"));
    EXPECT_TRUE(first.ends_with(u".tmp"));
    std::u16string digits = first.substr(folder.size() + 4, first.size() - folder.size() - 8);
    EXPECT_EQ(digits.size(), 32u);
    EXPECT_EQ(digits.find_first_not_of(u"0123456789ABCDEF"), std::u16string::npos);
    EXPECT_FALSE(std::filesystem::exists(text::toUtf8(first)));
    EXPECT_TRUE(
        automation::temporaryFileName(automation::kImportFilePrefix).starts_with(folder + u"kvc-"));
}

TEST(AccessApplicationStart, NoAccessForADatabaseWithoutADocumentStore) {
    // An Access file: only an embedded database can have the application on this platform.
    AccessApplication access(engine::components());
    std::string path = std::string(KEL_ACCESS_DATA_DIR) + "/nwind.mdb";
    EXPECT_EQ(startFailure(access, describe(text::fromUtf8(path))), u"Can't find path to MSAccess");
    EXPECT_FALSE(access.isStarted());
    EXPECT_EQ(access.currentCommandLine(), u"");
    access.close(); // nothing to close, and no harm
}

TEST(AccessApplicationStart, AnApplicationThatCannotOpenTheDatabaseLeavesNothingRunning) {
    ChosenAccess components;
    components.bindFails = true;
    AccessApplication access(components);
    database::DatabaseDescription description = describe(u"/data/db.accdb");
    description.databasePassword = u"pw";
    description.userName = u"me";
    EXPECT_EQ(startFailure(access, description), u"Can't bind to the moniker");
    EXPECT_FALSE(access.isStarted());
    EXPECT_EQ(components.opened.path, u"/data/db.accdb");
    EXPECT_EQ(components.opened.databasePassword, u"pw");
    EXPECT_EQ(components.opened.userId, u"me");
    EXPECT_TRUE(components.application->calls.empty());
}

class RunningAccess : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kel-access-XXXXXX";
        folder = mkdtemp(pattern);
        setenv("TMPDIR", folder.c_str(), 1);
        access.start(describe(u"/data/db.accdb"));
    }
    void TearDown() override {
        unsetenv("TMPDIR");
        std::filesystem::remove_all(folder);
    }
    std::vector<std::filesystem::path> leftovers() const {
        return {std::filesystem::directory_iterator(folder), {}};
    }

    std::string folder;
    ChosenAccess components;
    FakeApplication& application = *components.application;
    AccessApplication access{components};
};

TEST_F(RunningAccess, ImportWritesAPrivateFileLoadsItAndDeletesIt) {
    EXPECT_EQ(access.currentCommandLine(), u"MSACCESS.EXE \"/data/db.accdb\" /nostartup ");
    const Bytes content{0xFF, 0xFE, 'x', 0, '\r', 0, '\n', 0};
    access.importText(engine::access::objectForm, u"Orders", content);
    EXPECT_EQ(application.calls, (std::vector<std::string>{"LoadFromText(2,Orders)"}));
    EXPECT_EQ(application.loaded[u"Orders"], content);
    ASSERT_EQ(application.files.size(), 1u);
    EXPECT_TRUE(application.files[0].starts_with(text::fromUtf8(folder) + u"/kvc-"));
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(RunningAccess, FailedImportThrowsTheEngineError) {
    application.failing = {"LoadFromText"};
    EXPECT_THROW(access.importText(engine::access::objectModule, u"M", bytesOf("x")),
                 engine::EngineError);
    ASSERT_EQ(leftovers().size(), 1u);
    struct stat info {};
    ASSERT_EQ(stat(leftovers()[0].c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(RunningAccess, ExportIgnoresItsStatusDeleteRaisesIt) {
    application.failing = {"SaveAsText"};
    access.exportText(engine::access::objectReport, u"R", u"/nowhere/file.tmp");
    access.deleteObject(engine::access::objectMacro, u"AutoExec");
    application.failing = {"DeleteObject"};
    EXPECT_THROW(access.deleteObject(engine::access::objectMacro, u"Gone"), engine::EngineError);
    EXPECT_EQ(application.calls,
              (std::vector<std::string>{"SaveAsText(3,R)", "DoCmd", "DeleteObject(4,AutoExec)",
                                        "DoCmd", "DeleteObject(4,Gone)"}));
}

TEST_F(RunningAccess, CloseQuitsWithoutSavingIgnoresFailuresAndHappensOnce) {
    application.failing = {"CloseCurrentDatabase", "Quit"};
    access.close();
    access.close();
    EXPECT_FALSE(access.isStarted());
    EXPECT_EQ(access.currentCommandLine(), u"");
    EXPECT_EQ(application.calls, (std::vector<std::string>{"CloseCurrentDatabase", "Quit(2)"}));
    EXPECT_THROW(access.deleteObject(engine::access::objectForm, u"F"), engine::EngineError);
}

} // namespace accesstest
