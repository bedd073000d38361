// libFuzzer target: the embedded engine's SQL. The input is a few statements separated by
// ';', executed through the ADO object model on a new scratch database; failures of single
// statements are expected. The database is then closed and opened again, and must pass
// SQLite's integrity check, and the catalog must agree with the data tables: every table the
// catalog lists reads back with exactly the columns it lists.

#include "foundation/engine/Backends.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/Adox.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/Sqlite.h"
#include "foundation/text/WideString.h"
#include "fuzz/ScratchFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr int kMostStatements = 8;

void check(bool condition) {
    if (!condition)
        std::abort();
}

std::shared_ptr<engine::ado::Connection> connect(const std::u16string& path) {
    auto connection = engine::components().createConnection();
    connection->open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + u";", u"", u"", -1);
    return connection;
}

void runStatements(const std::u16string& path, std::u16string_view script) {
    auto connection = connect(path);
    int run = 0;
    while (!script.empty() && run++ < kMostStatements) {
        std::size_t end = script.find(u';');
        std::u16string statement(script.substr(0, end));
        script = end == script.npos ? std::u16string_view() : script.substr(end + 1);
        try {
            connection->execute(statement, {}, nullptr);
        } catch (const engine::EngineError&) {
        }
    }
    connection->close();
}

void checkIntegrity(const std::u16string& path) {
    engine::embedded::SqliteDatabase db(path, true, false);
    auto result = db.prepare("PRAGMA integrity_check");
    check(result.step() && result.text(0) == u"ok");
}

void checkCatalogAgreesWithData(const std::u16string& path) {
    auto connection = connect(path);
    auto catalog = engine::components().createCatalog();
    catalog->setActiveConnection(connection);
    auto tables = catalog->tables();
    for (int i = 0; i < tables->count(); ++i) {
        auto table = tables->item(i);
        if (table->type() != u"TABLE")
            continue;
        auto rows = connection->execute(u"SELECT * FROM [" + table->name() + u"]", {}, nullptr);
        check(rows != nullptr);
        check(rows->fields()->count() == table->columns()->count());
        for (; !rows->eof(); rows->moveNext())
            for (int c = 0; c < rows->fields()->count(); ++c)
                rows->fields()->item(c)->value();
    }
    connection->close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ScratchFile scratch(".mdb");
    std::u16string path = text::fromUtf8(scratch.path().string());
    std::error_code ignored;
    std::filesystem::remove(scratch.path(), ignored);
    engine::OpenParameters parameters;
    parameters.path = path;
    engine::createDatabase(parameters)->close();

    std::u16string script =
        text::fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    runStatements(path, script);
    checkIntegrity(path);
    checkCatalogAgreesWithData(path);
    return 0;
}
