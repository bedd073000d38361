#include "FakeEngine.h"

#include "foundation/database/DatabaseConnection.h"
#include "foundation/engine/EngineComponents.h"

#include <gtest/gtest.h>

#include "foundation/text/WideString.h"

#include <filesystem>
#include <unistd.h>

namespace databasetest {

using database::DatabaseConnection;
using database::DatabaseDescription;
using database::DbOpenException;
using database::ProviderChoice;
using database::ProviderKind;

namespace {

DatabaseDescription describe(std::u16string path) {
    DatabaseDescription d;
    d.path = std::move(path);
    return d;
}

template <class F> std::u16string openFailure(F&& call) {
    try {
        call();
    } catch (const DbOpenException& e) {
        return e.message();
    }
    return u"(no exception)";
}

const std::u16string jet = u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
const std::u16string ace12 = u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=";
const std::u16string ace14 = u"Provider=Microsoft.ACE.OLEDB.14.0;Data Source=";

} // namespace

TEST(DatabaseDescription, DisplayNameAndConnectionFields) {
    DatabaseDescription d;
    d.title = u"Production";
    d.path = u"/data/p.mdb";
    EXPECT_EQ(d.displayName(), u"Production");
    d.setConnectionFields(u"/x.accdb", u"/s.mdw", u"pw", u"bob", u"secret");
    EXPECT_EQ(d.title, u"");
    EXPECT_EQ(d.displayName(), u"/x.accdb");
    EXPECT_EQ(d.systemDatabase, u"/s.mdw");
    EXPECT_EQ(d.userPassword, u"secret");
}

TEST(ConnectionString, CredentialsInOrderAndPersistSecurityOnlyForKindTwoWithout) {
    FakeEngine engine;
    DatabaseDescription d = describe(u"/db.mdb");
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    EXPECT_EQ(c.connectionString(ProviderKind::Ace14), ace14 + u"/db.mdb;");
    EXPECT_EQ(c.connectionString(ProviderKind::Ace12),
              ace12 + u"/db.mdb;Persist Security Info=False;");
    EXPECT_EQ(c.connectionString(ProviderKind::Jet4), jet + u"/db.mdb;");
    d.databasePassword = u"pw";
    EXPECT_EQ(c.connectionString(ProviderKind::Ace12),
              ace12 + u"/db.mdb;Jet OLEDB:Database Password=pw;");
    d.systemDatabase = u"/s.mdw";
    d.userName = u"bob";
    d.userPassword = u"x";
    EXPECT_EQ(c.connectionString(ProviderKind::Jet4),
              jet + u"/db.mdb;Jet OLEDB:Database Password=pw;Jet OLEDB:System database=/s.mdw;"
                    u"User ID=bob;Password=x;");
}

TEST(AdoConnection, FallsBackFromKindThreeToTwoToOne) {
    FakeEngine engine;
    engine.providersThatFail = {u"ACE.OLEDB.14.0", u"ACE.OLEDB.12.0"};
    DatabaseDescription d = describe(u"/db.mdb");
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    auto connection = c.adoConnection();
    EXPECT_EQ(connection->state(), ado::stateOpen);
    std::vector<std::u16string> expected = {
        u"create connection", u"open " + ace14 + u"/db.mdb; -1",
        u"create connection", u"open " + ace12 + u"/db.mdb;Persist Security Info=False; -1",
        u"create connection", u"open " + jet + u"/db.mdb; -1"};
    EXPECT_EQ(engine.calls, expected);
    // Opened once: later requests reuse it.
    EXPECT_EQ(c.adoConnection(), connection);
    EXPECT_EQ(engine.calls.size(), expected.size());
}

TEST(AdoConnection, WhenEveryKindFailsTheCallerSeesKindOneAndNoRetryFollows) {
    FakeEngine engine;
    engine.providersThatFail = {u"ACE.OLEDB.14.0", u"ACE.OLEDB.12.0", u"Jet.OLEDB.4.0"};
    engine.openError = EngineError(0x80004005, u"Could not find file '/db.mdb'.");
    DatabaseDescription d = describe(u"/db.mdb");
    d.title = u"Shown name";
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    EXPECT_EQ(openFailure([&] { c.adoConnection(); }),
              u"Can't open database '/db.mdb'\n\r\nError: Could not find file '/db.mdb'.");
    EXPECT_TRUE(c.adoOpened());
    std::size_t calls = engine.calls.size();
    c.adoConnection();
    EXPECT_EQ(engine.calls.size(), calls);
}

TEST(AdoConnection, AnErrorWithoutDescriptionAddsNothing) {
    FakeEngine engine;
    engine.providersThatFail = {u"OLEDB"};
    engine.openError = EngineError(0x80004005);
    DatabaseDescription d = describe(u"/db.mdb");
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    EXPECT_EQ(openFailure([&] { c.adoConnection(); }), u"Can't open database '/db.mdb'\n");
}

TEST(AdoConnection, ObjectThatCannotBeCreated) {
    FakeEngine engine;
    engine.connectionCreateFails = true;
    DatabaseDescription d = describe(u"/db.mdb");
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    EXPECT_EQ(openFailure([&] { c.adoConnection(); }), u"Can't initialize ADODB");
    EXPECT_FALSE(c.adoOpened());
}

TEST(AdoConnection, RunnerTakesTheProviderFromTheExtensionAndTriesOnce) {
    EXPECT_EQ(DatabaseConnection::providerForPath(u"/x/Data.ACCDB "), ProviderKind::Ace12);
    EXPECT_EQ(DatabaseConnection::providerForPath(u"\t/x/data.accdb\r\n"), ProviderKind::Ace12);
    EXPECT_EQ(DatabaseConnection::providerForPath(u"/x/data.mdb"), ProviderKind::Jet4);
    EXPECT_EQ(DatabaseConnection::providerForPath(u"/x/data.accdb.bak"), ProviderKind::Jet4);

    FakeEngine engine;
    engine.providersThatFail = {u"OLEDB"};
    DatabaseDescription d = describe(u"/x/Data.ACCDB ");
    DatabaseConnection c(d, ProviderChoice::ByExtension, engine);
    EXPECT_EQ(openFailure([&] { c.adoConnection(); }),
              u"Can't open database '/x/Data.ACCDB '\n\r\nError: open failed");
    std::vector<std::u16string> expected = {
        u"create connection", u"open " + ace12 + u"/x/Data.ACCDB ;Persist Security Info=False; -1"};
    EXPECT_EQ(engine.calls, expected);
}

TEST(AdoxCatalog, BindsToTheAdoConnection) {
    FakeEngine engine;
    DatabaseDescription d = describe(u"/db.mdb");
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    auto catalog = c.adoxCatalog();
    EXPECT_TRUE(c.adoxOpened());
    EXPECT_EQ(catalog->activeConnection(), c.adoConnection());
    EXPECT_EQ(c.adoxCatalog(), catalog);
    EXPECT_EQ(engine.calls.front(), u"create catalog");
    EXPECT_EQ(engine.calls.back(), u"bind catalog");
}

TEST(AdoxCatalog, Failures) {
    FakeEngine engine;
    engine.catalogCreateFails = true;
    DatabaseDescription d = describe(u"/db.mdb");
    {
        DatabaseConnection c(d, ProviderChoice::Fallback, engine);
        EXPECT_EQ(openFailure([&] { c.adoxCatalog(); }), u"Can't initialize ADOX");
        EXPECT_FALSE(c.adoOpened()); // the catalog is created first
    }
    engine.catalogCreateFails = false;
    engine.bindFails = true;
    {
        DatabaseConnection c(d, ProviderChoice::Fallback, engine);
        EXPECT_EQ(openFailure([&] { c.adoxCatalog(); }),
                  u"Can't open database using ADOX '/db.mdb'\n\r\nError: bind failed");
        EXPECT_FALSE(c.adoxOpened());
    }
    engine.bindFails = false;
    engine.providersThatFail = {u"OLEDB"};
    {
        DatabaseConnection c(d, ProviderChoice::Fallback, engine);
        EXPECT_EQ(openFailure([&] { c.adoxCatalog(); }),
                  u"Can't open database '/db.mdb'\n\r\nError: open failed");
    }
}

TEST(DaoDatabase, AdoOpensBeforeTheEngineIsCreated) {
    FakeEngine engine;
    DatabaseDescription d = describe(u"/db.mdb");
    d.databasePassword = u"pw";
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    auto database = c.daoDatabase();
    ASSERT_TRUE(database);
    EXPECT_TRUE(c.daoOpened());
    std::vector<std::u16string> expected = {
        u"create connection", u"open " + ace14 + u"/db.mdb;Jet OLEDB:Database Password=pw; -1",
        u"create engine " + std::u16string(daoClassId),
        u"OpenDatabase /db.mdb empty false [MS Access;PWD=pw]"};
    EXPECT_EQ(engine.calls, expected);
}

TEST(DaoDatabase, EngineFromTheProgIdsInTurn) {
    FakeEngine engine;
    engine.daoIdsThatFail = {std::u16string(daoClassId), std::u16string(daoProgId36)};
    DatabaseDescription d = describe(u"/db.mdb");
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    c.daoDatabase();
    EXPECT_EQ(engine.calls[engine.calls.size() - 2], u"create engine DAO.DBEngine.35");

    FakeEngine none;
    none.daoIdsThatFail = {std::u16string(daoClassId), std::u16string(daoProgId36),
                           std::u16string(daoProgId35)};
    DatabaseConnection d2(d, ProviderChoice::Fallback, none);
    EXPECT_EQ(openFailure([&] { d2.daoDatabase(); }), u"Can't initialize DAO");
    EXPECT_FALSE(d2.daoOpened());
}

TEST(DaoDatabase, WorkgroupSettingsInOrderAndTheirFailurePassesAsEngineError) {
    FakeEngine engine;
    DatabaseDescription d = describe(u"/db.mdb");
    d.systemDatabase = u"/s.mdw";
    d.userName = u"bob";
    d.userPassword = u"x";
    {
        DatabaseConnection c(d, ProviderChoice::Fallback, engine);
        c.daoDatabase();
        std::vector<std::u16string> tail(engine.calls.end() - 4, engine.calls.end());
        std::vector<std::u16string> expected = {u"SystemDB /s.mdw", u"DefaultUser bob",
                                                u"DefaultPassword x",
                                                u"OpenDatabase /db.mdb empty false []"};
        EXPECT_EQ(tail, expected);
    }
    engine.systemDbFails = true;
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    EXPECT_THROW(c.daoDatabase(), EngineError);
    EXPECT_TRUE(c.daoOpened());
}

TEST(DaoDatabase, FailedOpenReleasesTheEngine) {
    FakeEngine engine;
    engine.openDatabaseFails = true;
    DatabaseDescription d = describe(u"/db.mdb");
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    EXPECT_EQ(openFailure([&] { c.daoDatabase(); }),
              u"Can't open database using DAO '/db.mdb'\n\r\nError: Not a valid password.");
    EXPECT_FALSE(c.daoOpened());
    engine.openDatabaseFails = false;
    EXPECT_TRUE(c.daoDatabase()); // not opened yet, so it is tried again
}

TEST(Close, ClosesDaoThenAdoxThenAdo) {
    FakeEngine engine;
    DatabaseDescription d = describe(u"/db.mdb");
    DatabaseConnection c(d, ProviderChoice::Fallback, engine);
    c.adoxCatalog();
    c.daoDatabase();
    engine.calls.clear();
    c.close();
    std::vector<std::u16string> expected = {u"close database", u"close connection"};
    EXPECT_EQ(engine.calls, expected);
    EXPECT_FALSE(c.adoOpened() || c.adoxOpened() || c.daoOpened());
    c.close();
    EXPECT_EQ(engine.calls, expected);
}

TEST(ErrorTexts, ErrorTextAndSystemMessages) {
    EXPECT_EQ(database::errorText(EngineError(0x80004005)), u"");
    EXPECT_EQ(database::errorText(EngineError(0x80004005, u"Boom.")), u"\r\nError: Boom.");
    EXPECT_EQ(database::errorMessage(0x80040205), u"IDispatch error #5");
    EXPECT_EQ(database::errorMessage(0x80040200), u"IDispatch error #0");
    EXPECT_EQ(database::errorMessage(0x800A0CC1), u"Unknown error 0x800A0CC1");
    EXPECT_EQ(database::errorMessage(0x12), u"Unknown error 0x12");
    EXPECT_EQ(database::errorMessage(0x80004005), u"Unspecified error");
}

TEST(RealEngine, AllThreeInterfacesOpenOnAnEmbeddedDatabase) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kel-db-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    DatabaseDescription d = describe(text::fromUtf8((folder / "x.accdb").string()));
    d.databasePassword = u"s3cret";
    {
        auto catalog = engine::components().createCatalog();
        DatabaseConnection creator(d, ProviderChoice::ByExtension);
        catalog->create(creator.connectionString(ProviderKind::Ace12))->close();
    }
    {
        DatabaseConnection c(d);
        EXPECT_EQ(c.adoxCatalog()->tables()->item(u"MSysObjects")->type(), u"SYSTEM TABLE");
        EXPECT_EQ(c.daoDatabase()->tableDefs()->count(), 1);
    }
    d.databasePassword = u"wrong";
    DatabaseConnection c(d, ProviderChoice::ByExtension);
    EXPECT_EQ(openFailure([&] { c.adoConnection(); }),
              u"Can't open database '" + d.path + u"'\n\r\nError: Not a valid password.");
    std::filesystem::remove_all(folder);
}

} // namespace databasetest
