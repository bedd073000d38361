// Times the same structure changes on a real Access file and on an embedded database, each
// holding a table of N rows: a CREATE TABLE with three indexes, an ADD COLUMN on the table
// with the rows, and for the Access file the close that reads the copy back and puts it in
// place of the file. Prints the times and their ratio.
//
//   access_write_bench [rows] [folder] [keep]   (defaults: 100000, $TMPDIR or /tmp)
//
// With "keep" the two databases stay in the folder for a look with other tools.

#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexWriter.h"
#include "foundation/engine/jetfile/RowBuilder.h"
#include "foundation/engine/jetfile/SchemaWriter.h"
#include "foundation/engine/jetfile/TableWriter.h"
#include "foundation/text/WideString.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
namespace catalog = engine::catalog;
namespace jet = engine::jetfile;

constexpr char16_t kCreateTable[] =
    u"CREATE TABLE [Orders] ([Id] LONG NOT NULL, [Code] TEXT(20), [Placed] DATETIME, "
    u"[Amount] CURRENCY, CONSTRAINT [PK_Orders] PRIMARY KEY ([Id]), "
    u"CONSTRAINT [UQ_Code] UNIQUE ([Code]), CONSTRAINT [UQ_Placed] UNIQUE ([Placed]))";
constexpr char16_t kAddColumn[] = u"ALTER TABLE [Big] ADD COLUMN [Extra] LONG";

catalog::Table bigTable() {
    catalog::Table table;
    table.name = u"Big";
    auto column = [](std::u16string name, int type, int size) {
        catalog::Column c;
        c.name = std::move(name);
        c.type = type;
        c.size = size;
        return c;
    };
    table.columns = {column(u"Id", engine::type::integer, 4),
                     column(u"Name", engine::type::varWChar, 50),
                     column(u"Amount", engine::type::doubleType, 8)};
    table.columns[0].nullable = false;
    catalog::Index key;
    key.name = u"PrimaryKey";
    key.primary = key.unique = true;
    key.nulls = engine::adox::indexNullsDisallow;
    key.columns = {{u"Id", false}};
    table.indexes = {key};
    return table;
}

jet::Bytes littleEndian(std::uint64_t value, int size) {
    jet::Bytes bytes(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        bytes[std::size_t(i)] = std::uint8_t(value >> (8 * i));
    return bytes;
}

// The Access file's table of rows, written with the page store directly: the file's own
// engine takes no data statements yet.
void fillAccessFile(const fs::path& file, int rows) {
    jet::WorkingCopy copy(file);
    jet::SchemaWriter(copy).createTable(bigTable());
    copy.commitStatement();
    jet::PageNumber definitionPage = 0;
    for (const jet::CatalogTable& table : jet::listTables(copy))
        if (table.name == u"Big")
            definitionPage = table.definitionPage;
    jet::PageAllocator allocator(copy);
    jet::TableWriter writer(copy, allocator, definitionPage);
    const jet::TableDefinition& definition = writer.definition();
    for (int id = 1; id <= rows; ++id) {
        std::u16string name = u"row " + text::toWString(id);
        jet::Bytes nameBytes;
        for (char16_t c : name) {
            nameBytes.push_back(std::uint8_t(c));
            nameBytes.push_back(std::uint8_t(c >> 8));
        }
        double amount = id * 1.25;
        std::uint64_t amountBits = 0;
        std::memcpy(&amountBits, &amount, sizeof amount);
        jet::ColumnValues values;
        for (const jet::ColumnDefinition& column : definition.columns) {
            if (column.name == u"Id")
                values[column.number] = littleEndian(std::uint32_t(id), 4);
            else if (column.name == u"Name")
                values[column.number] = nameBytes;
            else
                values[column.number] = littleEndian(amountBits, 8);
        }
        writer.insert(jet::buildRow(definition, values));
    }
    for (std::size_t i = 0; i < writer.definition().physicalIndexes.size(); ++i)
        jet::rebuildIndex(copy, allocator, writer.definition(), i);
    writer.saveDefinition();
    copy.commitStatement();
    copy.close();
}

std::shared_ptr<engine::ado::Connection> open(const fs::path& file) {
    auto connection = engine::components().createConnection();
    connection->open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                         text::fromUtf8(file.string()) + u";",
                     u"", u"", -1);
    return connection;
}

// The embedded database's rows come from one insert doubled until there are enough.
void fillEmbedded(const fs::path& file, int rows) {
    auto connection = engine::components().createCatalog()->create(
        u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + text::fromUtf8(file.string()) + u";");
    connection->execute(u"CREATE TABLE [Big] ([Id] LONG NOT NULL, [Name] TEXT(50), [Amount] "
                        u"DOUBLE, CONSTRAINT [PrimaryKey] PRIMARY KEY ([Id]))",
                        {}, nullptr);
    connection->execute(u"INSERT INTO [Big] ([Id], [Name], [Amount]) VALUES (1, 'row 1', 1.25)", {},
                        nullptr);
    for (int have = 1; have < rows; have *= 2)
        connection->execute(u"INSERT INTO [Big] ([Id], [Name], [Amount]) SELECT [Id] + " +
                                text::toWString(have) + u", 'row ' & ([Id] + " +
                                text::toWString(have) + u"), ([Id] + " + text::toWString(have) +
                                u") * 1.25 FROM [Big]",
                            {}, nullptr);
    connection->execute(u"DELETE FROM [Big] WHERE [Id] > " + text::toWString(rows), {}, nullptr);
    connection->close();
}

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Times {
    double createTable = 0;
    double addColumn = 0;
    double close = 0;
    double total() const { return createTable + addColumn + close; }
};

Times timeStatements(const fs::path& file) {
    Times times;
    auto connection = open(file);
    auto start = Clock::now();
    connection->execute(kCreateTable, {}, nullptr);
    auto created = Clock::now();
    connection->execute(kAddColumn, {}, nullptr);
    auto added = Clock::now();
    connection->close();
    auto closed = Clock::now();
    times.createTable = milliseconds(created - start);
    times.addColumn = milliseconds(added - created);
    times.close = milliseconds(closed - added);
    return times;
}

} // namespace

int main(int argc, char** argv) {
    int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const char* tmp = std::getenv("TMPDIR");
    fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::path(tmp && *tmp ? tmp : "/tmp");
    fs::path work = folder / ("access_write_bench." + std::to_string(::getpid()));
    fs::create_directories(work);
    try {
        fs::path accessFile = work / "big.mdb";
        fs::copy_file(KEL_ACCESS_DATA_DIR "/emptyJet4.mdb", accessFile);
        fs::permissions(accessFile, fs::perms::owner_write, fs::perm_options::add);
        fillAccessFile(accessFile, rows);
        fs::path embedded = work / "big.db";
        fillEmbedded(embedded, rows);

        Times access = timeStatements(accessFile);
        Times local = timeStatements(embedded);
        std::printf("%d rows; times in ms: CREATE TABLE with three indexes, ADD COLUMN, close\n",
                    rows);
        std::printf("Access file (Jet 4):  %8.1f %8.1f %8.1f   total %8.1f\n", access.createTable,
                    access.addColumn, access.close, access.total());
        std::printf("embedded database:    %8.1f %8.1f %8.1f   total %8.1f\n", local.createTable,
                    local.addColumn, local.close, local.total());
        std::printf("ratio Access file / embedded: %.2f\n", access.total() / local.total());
    } catch (const engine::EngineError& error) {
        std::fprintf(stderr, "engine error: %s\n", text::toUtf8(error.description()).c_str());
        fs::remove_all(work);
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "error: %s\n", error.what());
        fs::remove_all(work);
        return 1;
    }
    if (argc > 3 && std::string(argv[3]) == "keep")
        std::printf("kept in %s\n", work.c_str());
    else
        fs::remove_all(work);
    return 0;
}
