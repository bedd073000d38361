#include "FaultyEngine.h"
#include "ReaderFixture.h"

#include "foundation/database/Exceptions.h"

namespace readertest {

namespace {

const std::u16string kPermissions =
    u"\r\nThe application must have permissions to read/write the database file.";

// What a warning adds for an injected failure.
std::u16string warning(std::u16string_view message) {
    return std::u16string(message) + u"\r\n" + database::errorMessage(engine::status::unspecified) +
           u"\r\n";
}

} // namespace

class ReaderFaults : public EmbeddedDatabase {
protected:
    void SetUp() override {
        EmbeddedDatabase::SetUp();
        exec(u"CREATE TABLE [A] ([Id] LONG CONSTRAINT [PK_A] PRIMARY KEY, [N] LONG, "
             u"CONSTRAINT [Positive] CHECK ([N] > 0))");
        exec(u"CREATE TABLE [B] ([Id] LONG, [AId] LONG, "
             u"CONSTRAINT [FK_A] FOREIGN KEY ([AId]) REFERENCES [A] ([Id]))");
        exec(u"CREATE VIEW [V] AS SELECT * FROM [A]");
        exec(u"CREATE PROCEDURE [P] ([x] LONG) AS DELETE FROM [A] WHERE [Id] = [x]");
        connection->close();
    }

    std::unique_ptr<Database> readWithFaults() { return read(faulty); }

    FaultPlan plan;
    FaultyComponents faulty{plan};
};

TEST_F(ReaderFaults, TableWhoseColumnsFailIsLeftOutAndTheOthersAreRead) {
    plan.failOn("Table.columns(A)");
    auto schema = readWithFaults();
    ASSERT_TRUE(schema) << utf8(reader->errorText());
    EXPECT_EQ(reader->warningsText(), warning(u"Can't read table A"));
    EXPECT_EQ(schema->findTable(u"A"), nullptr);
    ASSERT_NE(schema->findTable(u"B"), nullptr);
    // B's relationship points at a table that is not there.
    EXPECT_EQ(schema->findTable(u"B")->findKeyExact(u"FK_A")->relatedTable(), nullptr);
    EXPECT_EQ(progress.steps, progress.total - 1);
}

struct PhaseFault {
    const char* member;
    int call;
    const char16_t* warning;
};

class PhaseWarnings : public ReaderFaults, public ::testing::WithParamInterface<PhaseFault> {};

TEST_P(PhaseWarnings, EngineErrorInAPhaseIsWarnedAndTheReadGoesOn) {
    plan.failOn(GetParam().member, GetParam().call);
    auto schema = readWithFaults();
    ASSERT_TRUE(schema) << utf8(reader->errorText());
    EXPECT_FALSE(reader->failed());
    EXPECT_TRUE(reader->hasWarnings());
    EXPECT_EQ(reader->warningsText(), warning(GetParam().warning));
    // The phases after the failing one still ran.
    EXPECT_EQ(schema->findTable(u"B")->findKeyExact(u"FK_A") != nullptr,
              std::string(GetParam().member) != "Database.relations");
    EXPECT_EQ(schema->viewsAndProcedures().size(),
              std::string(GetParam().member).starts_with("Catalog.") ? 1u : 2u);
    EXPECT_EQ(progress.steps, progress.total - 1);
    EXPECT_TRUE(progress.finished);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPhase, PhaseWarnings,
    ::testing::Values(PhaseFault{"Database.tableDefs", 1, u"Can't read primary keys"},
                      PhaseFault{"Connection.openSchema(5)", 0, u"Can't read constraints"},
                      PhaseFault{"Connection.openSchema(10)", 2, u"Can't read constraints"},
                      PhaseFault{"Catalog.views", 0, u"Can't read stored views"},
                      PhaseFault{"Catalog.procedures", 0, u"Can't read stored procedures"},
                      PhaseFault{"Database.relations", 0, u"Can't read relationships"},
                      PhaseFault{"Database.tableDefs", 2, u"Can't read AllowZeroLength"}));

TEST_F(ReaderFaults, PhasesKeepWhatTheyAddedBeforeTheirError) {
    plan.failOn("Database.tableDefs", 1);
    plan.failOn("Connection.openSchema(10)", 2); // the second table's constraints
    auto schema = readWithFaults();
    ASSERT_TRUE(schema);
    EXPECT_EQ(reader->warningsText(),
              warning(u"Can't read primary keys") + warning(u"Can't read constraints"));
    const Table& a = *schema->findTable(u"A");
    EXPECT_EQ(a.findKeyExact(u"PK_A"), nullptr);
    ASSERT_EQ(a.checkConstraints().size(), 1u);
    EXPECT_EQ(a.checkConstraints()[0]->clause(), u"[N] > 0");
}

struct FatalFault {
    const char* member;
    bool describedError;
    std::u16string (*expected)(const std::u16string& path);
};

class FatalFaults : public ReaderFaults, public ::testing::WithParamInterface<FatalFault> {};

TEST_P(FatalFaults, ReadFailsWithTheMessageAndNoSchema) {
    plan.failOn(GetParam().member);
    if (!GetParam().describedError)
        plan.error = engine::EngineError(0x80040E37);
    EXPECT_EQ(readWithFaults(), nullptr);
    EXPECT_TRUE(reader->failed());
    EXPECT_EQ(reader->errorText(), GetParam().expected(description.path));
    EXPECT_FALSE(progress.finished);
}

INSTANTIATE_TEST_SUITE_P(
    EveryFatalFailure, FatalFaults,
    ::testing::Values(
        FatalFault{"Connection.openSchema(4)", true,
                   [](const std::u16string&) -> std::u16string {
                       return u"\r\nError: Injected failure.";
                   }},
        FatalFault{"Catalog.tables", false,
                   [](const std::u16string&) {
                       return u"\r\n" + database::errorMessage(0x80040E37) +
                              u"\r\nUpdate the database provider, check permissions and linked "
                              u"tables existence.";
                   }},
        FatalFault{"Table.type", true,
                   [](const std::u16string&) -> std::u16string {
                       return u"\r\nError: Injected failure.";
                   }},
        FatalFault{"Components.createDBEngine", true,
                   [](const std::u16string&) { return u"Can't initialize DAO" + kPermissions; }},
        FatalFault{"DBEngine.openDatabase", true,
                   [](const std::u16string& path) {
                       return u"Can't open database using DAO '" + path +
                              u"'\n\r\nError: Injected failure." + kPermissions;
                   }},
        FatalFault{"Catalog.setActiveConnection", true, [](const std::u16string& path) {
                       return u"Can't open database using ADOX '" + path +
                              u"'\n\r\nError: Injected failure." + kPermissions;
                   }}));

TEST_F(ReaderFaults, LinkedTableWithoutItsLinkPropertiesFailsTheRead) {
    auto catalog = openCatalog();
    auto link = engine::components().createTable();
    link->setParentCatalog(catalog);
    link->setName(u"Linked");
    link->properties()->item(u"Jet OLEDB:Create Link")->setValue(engine::Variant(true));
    link->properties()->item(u"Jet OLEDB:Link Datasource")->setValue(engine::Variant(u"x.mdb"));
    link->properties()->item(u"Jet OLEDB:Remote Table Name")->setValue(engine::Variant(u"R"));
    catalog->tables()->append(link);
    connection->close();

    plan.failOn("Properties.item(Jet OLEDB:Remote Table Name)");
    plan.error = engine::errors::itemNotFound();
    EXPECT_EQ(readWithFaults(), nullptr);
    EXPECT_EQ(reader->errorText(), u"\r\nError: " + engine::errors::itemNotFound().description());
}

TEST_F(ReaderFaults, MissingTableFlagsCountAsFalse) {
    plan.failOn("Properties.item(Temporary Table)");
    plan.failOn("Properties.item(Jet OLEDB:Table Hidden In Access)");
    auto schema = readWithFaults();
    ASSERT_TRUE(schema);
    EXPECT_EQ(schema->tables().size(), 2u);
    EXPECT_FALSE(reader->hasWarnings());
}

} // namespace readertest
