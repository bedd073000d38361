// Faults of a read that the single-fault tests leave out: every phase failing in one read,
// the walk over the table list, and a pass-through link without its provider string.

#include "FaultyEngine.h"
#include "ReaderFixture.h"

#include "foundation/database/Exceptions.h"

namespace readertest {

namespace {

std::u16string warning(std::u16string_view message) {
    return std::u16string(message) + u"\r\n" + database::errorMessage(engine::status::unspecified) +
           u"\r\n";
}

using Names = std::vector<std::u16string>;

Names names(const auto& elements) {
    Names result;
    for (const auto& element : elements)
        result.push_back(element->name());
    return result;
}

} // namespace

class ReaderFaultOrder : public EmbeddedDatabase {
protected:
    void SetUp() override {
        EmbeddedDatabase::SetUp();
        exec(u"CREATE TABLE [A] ([Id] LONG CONSTRAINT [PK_A] PRIMARY KEY, [N] LONG, "
             u"CONSTRAINT [Positive] CHECK ([N] > 0))");
        exec(u"CREATE TABLE [B] ([Id] LONG, [AId] LONG, "
             u"CONSTRAINT [FK_A] FOREIGN KEY ([AId]) REFERENCES [A] ([Id]))");
        exec(u"CREATE TABLE [C] ([Id] LONG, [Name] TEXT(10))");
        exec(u"CREATE VIEW [V] AS SELECT * FROM [A]");
        exec(u"CREATE PROCEDURE [P] ([x] LONG) AS DELETE FROM [A] WHERE [Id] = [x]");
        connection->close();
    }

    FaultPlan plan;
    FaultyComponents faulty{plan};
};

// Each phase records its own warning in phase order, and what no phase lost is still read.
TEST_F(ReaderFaultOrder, EveryPhaseFailingInOneReadWarnsInPhaseOrder) {
    plan.failOn("Table.columns(B)");
    plan.failOn("Database.tableDefs"); // the primary-key and the field-property passes
    plan.failOn("Connection.openSchema(5)");
    plan.failOn("Catalog.views");
    plan.failOn("Catalog.procedures");
    plan.failOn("Database.relations");
    auto schema = read(faulty);
    ASSERT_TRUE(schema) << utf8(reader->errorText());
    EXPECT_FALSE(reader->failed());
    EXPECT_EQ(utf8(reader->warningsText()),
              utf8(warning(u"Can't read table B") + warning(u"Can't read primary keys") +
                   warning(u"Can't read constraints") + warning(u"Can't read stored views") +
                   warning(u"Can't read stored procedures") + warning(u"Can't read relationships") +
                   warning(u"Can't read AllowZeroLength")));
    EXPECT_EQ(names(schema->tables()), (Names{u"A", u"C"}));
    EXPECT_EQ(names(schema->findTable(u"C")->fields()), (Names{u"Id", u"Name"}));
    EXPECT_TRUE(schema->findTable(u"A")->keys().empty());
    EXPECT_TRUE(schema->findTable(u"A")->checkConstraints().empty());
    EXPECT_TRUE(schema->viewsAndProcedures().empty());
    EXPECT_EQ(progress.steps, progress.total - 1);
    EXPECT_TRUE(progress.finished);
}

// Taking a table from the catalog's list is no phase of its own: the read fails, with the
// engine's description when it has one, else with the code's message and the advice.
TEST_F(ReaderFaultOrder, ATableTheCatalogCannotHandOverFailsTheRead) {
    plan.failOn("Tables.item", 2);
    EXPECT_EQ(read(faulty), nullptr);
    EXPECT_TRUE(reader->failed());
    EXPECT_EQ(reader->errorText(), u"\r\nError: Injected failure.");
    EXPECT_FALSE(reader->hasWarnings());
    EXPECT_FALSE(progress.finished);

    plan.calls.clear();
    plan.error = engine::EngineError(engine::status::unspecified);
    EXPECT_EQ(read(faulty), nullptr);
    EXPECT_EQ(reader->errorText(),
              u"\r\n" + database::errorMessage(engine::status::unspecified) +
                  u"\r\nUpdate the database provider, check permissions and linked tables "
                  u"existence.");
}

TEST_F(ReaderFaultOrder, APassThroughLinkWithoutItsProviderStringFailsTheRead) {
    auto catalog = openCatalog();
    auto link = engine::components().createTable();
    link->setParentCatalog(catalog);
    link->setName(u"Sales");
    link->properties()->item(u"Jet OLEDB:Create Link")->setValue(engine::Variant(true));
    link->properties()
        ->item(u"Jet OLEDB:Link Provider String")
        ->setValue(engine::Variant(u"ODBC;DSN=Sales"));
    link->properties()->item(u"Jet OLEDB:Remote Table Name")->setValue(engine::Variant(u"S"));
    catalog->tables()->append(link);
    connection->close();
    ASSERT_TRUE(read(faulty)) << utf8(reader->errorText());

    plan.failOn("Properties.item(Jet OLEDB:Link Provider String)");
    plan.error = engine::errors::itemNotFound();
    EXPECT_EQ(read(faulty), nullptr);
    EXPECT_EQ(reader->errorText(), u"\r\nError: " + engine::errors::itemNotFound().description());
}

} // namespace readertest
