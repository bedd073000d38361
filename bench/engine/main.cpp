// Builds one schema twice and prints both times: through the engine, one Access DDL statement
// at a time as the script runner sends them, and with the equivalent plain SQLite DDL run by
// the sqlite3 shell. The schema: N tables of 20 columns, each with a primary key, an index
// and a foreign key to the table before it.
//
//   engine_ddl_bench [tables] [folder]      (defaults: 2000, $TMPDIR or /tmp)

#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The columns after Id and Ref: (Access type, SQLite type), cycled.
const std::pair<const char*, const char*> columnTypes[] = {
    {"TEXT(50)", "TEXT"}, {"LONG", "INTEGER"},           {"DOUBLE", "REAL"},
    {"DATETIME", "REAL"}, {"CURRENCY", "NUMERIC"},       {"BIT", "INTEGER"},
    {"MEMO", "TEXT"},     {"DECIMAL(10, 2)", "NUMERIC"}, {"SMALLINT", "INTEGER"},
};

std::string table(int i) {
    return "T" + std::to_string(i);
}

// The Access DDL in the order the comparer writes it: tables, then indexes, then foreign keys.
std::vector<std::string> accessScript(int tables) {
    std::vector<std::string> statements;
    for (int i = 0; i < tables; ++i) {
        std::string sql =
            "CREATE TABLE [" + table(i) + "] (\r\n\t[Id] AUTOINCREMENT,\r\n\t[Ref] LONG";
        for (int c = 2; c < 20; ++c)
            sql += ",\r\n\t[C" + std::to_string(c) + "] " + columnTypes[c % 9].first;
        sql += ",\r\n\tCONSTRAINT [PK_" + table(i) + "] PRIMARY KEY ([Id])\r\n)";
        statements.push_back(sql);
    }
    for (int i = 0; i < tables; ++i)
        statements.push_back("CREATE INDEX [IX_" + table(i) + "]\r\n\tON [" + table(i) +
                             "] ([C2], [C3])");
    for (int i = 1; i < tables; ++i)
        statements.push_back("ALTER TABLE [" + table(i) + "]\r\n\tADD CONSTRAINT [FK_" + table(i) +
                             "]\r\n\tFOREIGN KEY ([Ref]) REFERENCES\r\n\t\t[" + table(i - 1) +
                             "] ([Id])\r\n\tON DELETE CASCADE");
    return statements;
}

// The same structure in SQLite's own DDL; SQLite takes foreign keys only in CREATE TABLE.
std::string sqliteScript(int tables) {
    std::string script;
    for (int i = 0; i < tables; ++i) {
        script += "CREATE TABLE \"" + table(i) +
                  "\" (\"Id\" INTEGER PRIMARY KEY AUTOINCREMENT, "
                  "\"Ref\" INTEGER";
        for (int c = 2; c < 20; ++c)
            script += ", \"C" + std::to_string(c) + "\" " + columnTypes[c % 9].second;
        if (i > 0)
            script += ", FOREIGN KEY (\"Ref\") REFERENCES \"" + table(i - 1) +
                      "\" (\"Id\") ON DELETE CASCADE";
        script += ");\n";
    }
    for (int i = 0; i < tables; ++i)
        script +=
            "CREATE INDEX \"IX_" + table(i) + "\" ON \"" + table(i) + "\" (\"C2\", \"C3\");\n";
    return script;
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    int tables = argc > 1 ? std::atoi(argv[1]) : 2000;
    const char* tmp = std::getenv("TMPDIR");
    fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::path(tmp ? tmp : "/tmp");
    fs::path engineFile = folder / "kel-bench-engine.accdb";
    fs::path shellFile = folder / "kel-bench-shell.db";
    fs::path shellScript = folder / "kel-bench-shell.sql";
    fs::remove(engineFile);
    fs::remove(shellFile);

    std::vector<std::string> statements = accessScript(tables);
    std::u16string connection = u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" +
                                text::fromUtf8(engineFile.string()) + u";";
    Clock::time_point start = Clock::now();
    std::vector<double> phases; // seconds at the end of the tables and of the indexes
    try {
        auto catalog = engine::components().createCatalog();
        auto db = catalog->create(connection);
        for (std::size_t i = 0; i < statements.size(); ++i) {
            if (i == std::size_t(tables) || i == 2 * std::size_t(tables))
                phases.push_back(seconds(Clock::now() - start));
            const std::string& sql = statements[i];
            auto command = engine::components().createCommand();
            command->setActiveConnection(db);
            command->setCommandType(engine::ado::commandTypeText);
            command->setCommandText(text::fromUtf8(sql));
            command->execute(nullptr, engine::ado::commandTypeText | engine::ado::executeNoRecords);
        }
        db->close();
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "engine: %s\n", text::toUtf8(e.description()).c_str());
        return 1;
    }
    double engineTime = seconds(Clock::now() - start);

    std::ofstream(shellScript) << sqliteScript(tables);
    std::string command = "sqlite3 '" + shellFile.string() + "' < '" + shellScript.string() + "'";
    start = Clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "sqlite3 shell failed: %s\n", command.c_str());
        return 1;
    }
    double shellTime = seconds(Clock::now() - start);

    std::printf("tables: %d of 20 columns; Access DDL statements: %zu\n", tables,
                statements.size());
    std::printf("engine, one statement at a time:  %8.2f s  (%.2f ms per statement)\n", engineTime,
                engineTime * 1000 / double(statements.size()));
    if (phases.size() == 2)
        std::printf(
            "  CREATE TABLE %.2f s, CREATE INDEX %.2f s, ADD CONSTRAINT FOREIGN KEY %.2f s\n",
            phases[0], phases[1] - phases[0], engineTime - phases[1]);
    std::printf("sqlite3 shell, plain SQLite DDL:  %8.2f s\n", shellTime);
    std::printf("ratio engine / shell:             %8.2f\n", engineTime / shellTime);
    fs::remove(engineFile);
    fs::remove(shellFile);
    fs::remove(shellScript);
    return 0;
}
