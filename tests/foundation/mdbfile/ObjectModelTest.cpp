// The engine's object model over Access files: what the schema reader sees through ADOX and
// the schema rowsets.

#include "AccessFiles.h"

#include "foundation/engine/AdoxCatalog.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/SessionConnection.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace engine;
namespace fs = std::filesystem;

namespace {

std::shared_ptr<adox::Catalog> catalogOf(const std::string& file) {
    auto connection = std::make_shared<SessionConnection>();
    connection->attach(mdbtest::openAccessFile(file),
                       u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" +
                           text::fromUtf8(mdbtest::accessFile(file)));
    auto catalog = makeCatalog();
    catalog->setActiveConnection(connection);
    return catalog;
}

Variant property(const std::shared_ptr<Properties>& properties, std::u16string_view name) {
    return properties->value(name);
}

} // namespace

TEST(AccessObjectModel, TableTypesAndLinkProperties) {
    auto linker = catalogOf("linkerTestV2007.accdb")->tables();
    EXPECT_EQ(linker->item(u"Table1")->type(), u"TABLE");
    EXPECT_EQ(linker->item(u"MSysObjects")->type(), u"SYSTEM TABLE");
    auto storage = linker->item(u"MSysAccessStorage");
    EXPECT_EQ(storage->type(), u"ACCESS TABLE");
    EXPECT_EQ(property(storage->properties(), u"Jet OLEDB:Table Hidden In Access"), Variant(true));
    auto link = linker->item(u"Table2");
    EXPECT_EQ(link->type(), u"LINK");
    EXPECT_EQ(property(link->properties(), u"Jet OLEDB:Link Datasource"),
              Variant(u"Z:\\jackcess_test\\linkeeTest.accdb"));
    EXPECT_EQ(property(link->properties(), u"Jet OLEDB:Remote Table Name"), Variant(u"Table1"));

    auto odbc = catalogOf("odbcLinkerTestV2007.accdb")->tables()->item(u"Ordrar");
    EXPECT_EQ(odbc->type(), u"PASS-THROUGH");
    auto provider = property(odbc->properties(), u"Jet OLEDB:Link Provider String");
    ASSERT_TRUE(provider.isString());
    EXPECT_EQ(provider.asString().substr(0, 15), u"DSN=Magnapinna;");
}

TEST(AccessObjectModel, ColumnsIndexesViewsAndProcedures) {
    auto nwind = catalogOf("nwind.mdb");
    auto orders = nwind->tables()->item(u"Orders");
    auto id = orders->columns()->item(u"OrderID");
    EXPECT_EQ(id->type(), type::integer);
    EXPECT_EQ(property(id->properties(), u"Autoincrement"), Variant(true));
    EXPECT_TRUE(id->attributes() & adox::columnNullable);
    auto foreign = orders->indexes()->item(u"CustomersOrders");
    EXPECT_FALSE(foreign->primaryKey());
    EXPECT_EQ(foreign->columns()->item(0)->name(), u"CustomerID");

    auto queries = catalogOf("queryTestV2003.mdb");
    EXPECT_EQ(queries->views()->count(), 3);
    EXPECT_EQ(queries->procedures()->count(), 6);
    auto update = queries->procedures()->item(u"UpdateQuery")->command();
    EXPECT_EQ(update->commandText().substr(0, 36), u"PARAMETERS [User Name] Text ( 255 );");
    ASSERT_EQ(update->parameters()->count(), 1);
    EXPECT_EQ(update->parameters()->item(0)->type(), type::varWChar);
    EXPECT_EQ(queries->tables()->item(u"SelectQuery")->type(), u"VIEW");
}

TEST(AccessObjectModel, ChangesThroughTheCatalogAreRefused) {
    auto catalog = catalogOf("testV2003.mdb");
    auto a = catalog->tables()->item(u"Table1")->columns()->item(u"A");
    try {
        a->properties()->item(u"Default")->setValue(Variant(u"'x'"));
        ADD_FAILURE() << "changed a read-only file";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.description(), errors::readOnly().description());
    }
    auto table = makeNewTable();
    table->setName(u"New");
    try {
        catalog->tables()->append(table);
        ADD_FAILURE() << "changed a read-only file";
    } catch (const EngineError& e) {
        EXPECT_EQ(e.description(), errors::readOnly().description());
    }
}

// On a copy the user may write, the same writes go into the file through ADOX and DAO.
TEST(AccessObjectModel, ColumnAndTableWritesOnAWritableCopy) {
    for (const char* name : {"emptyJet4.mdb", "empty2010.accdb"}) {
        SCOPED_TRACE(name);
        fs::path folder = fs::temp_directory_path() / ("kel-adox-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        fs::path copy = folder / name;
        fs::copy_file(mdbtest::accessFile(name), copy, fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
        std::u16string source =
            u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + text::fromUtf8(copy.string());
        auto connection = components().createConnection();
        connection->open(source, u"", u"", -1);
        connection->execute(u"CREATE TABLE [T] ([Id] LONG, [Note] TEXT(40))", {}, nullptr);
        auto catalog = components().createCatalog();
        catalog->setActiveConnection(connection);
        auto note = catalog->tables()->item(u"T")->columns()->item(u"Note");
        note->properties()->item(u"Default")->setValue(Variant(u"'none'"));
        note->properties()
            ->item(u"Jet OLEDB:Allow Zero Length")
            ->setValue(Variant(std::int16_t(-1)));
        note->properties()->item(u"Jet OLEDB:Column Validation Rule")->setValue(Variant(u"<> 'x'"));
        catalog->tables()
            ->item(u"T")
            ->properties()
            ->item(u"Jet OLEDB:Table Validation Rule")
            ->setValue(Variant(u"[Id] > 0"));
        catalog->tables()
            ->item(u"T")
            ->properties()
            ->item(u"Jet OLEDB:Table Hidden In Access")
            ->setValue(Variant(true));
        connection->close();

        auto db = components()
                      .createDBEngine(daoClassId)
                      ->openDatabase(text::fromUtf8(copy.string()), {}, false, u"");
        auto id = db->tableDefs()->item(u"T")->fields()->item(u"Id");
        id->properties()->append(id->createProperty(u"Caption", 10, Variant(u"Number")));
        id->properties()->append(id->createProperty(u"Description", 10, Variant(u"the key")));
        db->close();

        db = components()
                 .createDBEngine(daoClassId)
                 ->openDatabase(text::fromUtf8(copy.string()), {}, false, u"");
        auto fields = db->tableDefs()->item(u"T")->fields();
        EXPECT_EQ(fields->item(u"Note")->defaultValue(), Variant(u"'none'"));
        EXPECT_TRUE(fields->item(u"Note")->allowZeroLength());
        EXPECT_EQ(fields->item(u"Id")->properties()->value(u"Caption"), Variant(u"Number"));
        EXPECT_EQ(fields->item(u"Id")->properties()->value(u"Description"), Variant(u"the key"));
        db->close();
        connection = components().createConnection();
        connection->open(source, u"", u"", -1);
        catalog->setActiveConnection(connection);
        auto t = catalog->tables()->item(u"T");
        EXPECT_EQ(property(t->columns()->item(u"Note")->properties(),
                           u"Jet OLEDB:Column Validation Rule"),
                  Variant(u"<> 'x'"));
        EXPECT_EQ(property(t->properties(), u"Jet OLEDB:Table Validation Rule"),
                  Variant(u"[Id] > 0"));
        EXPECT_EQ(property(t->properties(), u"Jet OLEDB:Table Hidden In Access"), Variant(true));
        connection->close();
        fs::remove_all(folder);
    }
}
