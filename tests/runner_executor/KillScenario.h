#pragma once

// kelrun killed at random moments on a script that rebuilds tables with rows, and what must
// hold after each kill: the database opens and passes SQLite's integrity check, the catalog
// agrees with the data tables, the statements applied are exactly a prefix of the script and
// no row is lost. The kill test and the kill benchmark (bench/runner_kills) share it.
//
// Every rebuilding statement of the script is followed by an insert into [Log] of its number,
// so the log tells how far the run came: the statements logged are applied, the one after
// them may be, and the schema must be the one a clean run has at exactly one of those points.

#include "foundation/database/DatabaseConnection.h"
#include "foundation/engine/Backends.h"
#include "foundation/engine/api/Adox.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/Sqlite.h"
#include "foundation/text/WideString.h"
#include "tests/runner_executor/DatabaseChecks.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace killscenario {

constexpr int kTables = 4;
constexpr int kRowsPerTable = 40;

inline std::u16string u16(const std::string& text) {
    return text::fromUtf8(text);
}

inline std::string u8(std::u16string_view text) {
    return text::toUtf8(text);
}

// The i-th rebuilding statement: a cycle of six per table that adds a column, changes its
// type, puts a unique constraint on it, widens another column, drops the constraint and the
// column, so that the script can go on for as long as it is asked to.
inline std::string rebuildingStatement(int i) {
    std::string table = "[T" + std::to_string(i % kTables) + "]";
    int step = i / kTables;
    std::string column = "[A" + std::to_string(step - step % 6) + "]";
    std::string unique = "[U" + std::to_string(step - step % 6) + "]";
    switch (step % 6) {
    case 0:
        return "ALTER TABLE " + table + " ADD COLUMN " + column + " LONG";
    case 1:
        return "ALTER TABLE " + table + " ALTER COLUMN " + column + " TEXT(30)";
    case 2:
        return "ALTER TABLE " + table + " ADD CONSTRAINT " + unique + " UNIQUE (" + column + ")";
    case 3:
        return "ALTER TABLE " + table + " ALTER COLUMN [V] TEXT(" + std::to_string(21 + step) + ")";
    case 4:
        return "ALTER TABLE " + table + " DROP CONSTRAINT " + unique;
    default:
        return "ALTER TABLE " + table + " DROP COLUMN " + column;
    }
}

inline std::string script(int rebuilds) {
    std::string text;
    for (int i = 0; i < rebuilds; ++i)
        text += rebuildingStatement(i) + ";\r\nINSERT INTO [Log] ([N]) VALUES (" +
                std::to_string(i) + ");\r\n";
    return text;
}

inline std::string rowText(int id) {
    return std::to_string(id) + "|row " + std::to_string(id);
}

inline database::DatabaseDescription describe(const std::filesystem::path& file) {
    database::DatabaseDescription description;
    description.path = u16(file.string());
    return description;
}

inline std::vector<std::string> rowsOf(database::DatabaseConnection& connection,
                                       const std::string& query) {
    return executortest::queryRows(*connection.adoConnection(), u16(query));
}

// The tables, with their columns (name, type, size), indexes and keys, as ADOX lists them.
inline std::string schemaSignature(database::DatabaseConnection& connection) {
    std::string signature;
    auto tables = connection.adoxCatalog()->tables();
    for (int t = 0; t < tables->count(); ++t) {
        auto table = tables->item(t);
        if (table->type() != u"TABLE")
            continue;
        signature += u8(table->name()) + ":";
        auto columns = table->columns();
        for (int c = 0; c < columns->count(); ++c) {
            auto column = columns->item(c);
            signature += " " + u8(column->name()) + "/" + std::to_string(column->type()) + "/" +
                         std::to_string(column->definedSize());
        }
        auto indexes = table->indexes();
        for (int i = 0; i < indexes->count(); ++i)
            signature += " index " + u8(indexes->item(i)->name());
        auto keys = table->keys();
        for (int k = 0; k < keys->count(); ++k)
            signature += " key " + u8(keys->item(k)->name());
        signature += "\n";
    }
    return signature;
}

// A new database of kTables tables with rows, and an empty [Log].
inline void createDatabase(const std::filesystem::path& file) {
    engine::OpenParameters parameters;
    parameters.path = u16(file.string());
    auto session = engine::createDatabase(parameters);
    for (int t = 0; t < kTables; ++t) {
        std::string table = "[T" + std::to_string(t) + "]";
        session->execute(u16("CREATE TABLE " + table + " ([Id] LONG NOT NULL, [V] TEXT(20), " +
                             "CONSTRAINT [PK_T" + std::to_string(t) + "] PRIMARY KEY ([Id]))"),
                         {}, nullptr);
        for (int id = 1; id <= kRowsPerTable; ++id)
            session->execute(u16("INSERT INTO " + table + " ([Id], [V]) VALUES (" +
                                 std::to_string(id) + ", 'row " + std::to_string(id) + "')"),
                             {}, nullptr);
    }
    session->execute(u"CREATE TABLE [Log] ([N] LONG)", {}, nullptr);
    session->close();
}

// The schema of a clean run after each count of rebuilding statements, from 0 to all.
inline std::vector<std::string> cleanRunSignatures(const std::filesystem::path& pristine,
                                                   const std::filesystem::path& work,
                                                   int rebuilds) {
    std::filesystem::copy_file(pristine, work, std::filesystem::copy_options::overwrite_existing);
    database::DatabaseDescription description = describe(work);
    database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
    std::vector<std::string> signatures{schemaSignature(connection)};
    for (int i = 0; i < rebuilds; ++i) {
        connection.adoConnection()->execute(u16(rebuildingStatement(i)), {}, nullptr);
        signatures.push_back(schemaSignature(connection));
    }
    return signatures;
}

// Runs kelrun on the script and database and kills it after the delay; true when the kill
// came before kelrun ended by itself.
// Starts the program with the arguments, its standard streams on /dev/null and without a
// display, and returns its process id.
inline pid_t startQuietly(const std::string& program, const std::vector<std::string>& arguments) {
    pid_t child = fork();
    if (child == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return child;
}

inline bool runAndKill(const std::string& kelrun, const std::filesystem::path& scriptFile,
                       const std::filesystem::path& databaseFile, std::chrono::microseconds delay) {
    pid_t child = startQuietly(kelrun, {scriptFile.string(), databaseFile.string(), "/e"});
    auto deadline = std::chrono::steady_clock::now() + delay;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(child, &status, WNOHANG) == child)
            return false; // ended by itself
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            deadline - std::chrono::steady_clock::now(), std::chrono::milliseconds(2)));
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

struct Verdict {
    std::string problem; // empty when everything held
    int applied = 0;     // rebuilding statements found applied
    int rowsLost = 0;
};

inline Verdict verify(const std::filesystem::path& databaseFile,
                      const std::vector<std::string>& signatures) {
    Verdict verdict;
    try {
        // Opening through the engine first rolls back what the killed run left half done.
        database::DatabaseDescription description = describe(databaseFile);
        database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
        std::vector<std::string> log = rowsOf(connection, "SELECT [N] FROM [Log] ORDER BY [N]");
        for (std::size_t i = 0; i < log.size(); ++i)
            if (log[i] != std::to_string(i))
                verdict.problem = "the log is not a prefix of the script";
        std::string signature = schemaSignature(connection);
        std::size_t logged = log.size();
        if (signature == signatures.at(logged))
            verdict.applied = int(logged);
        else if (logged + 1 < signatures.size() && signature == signatures[logged + 1])
            verdict.applied = int(logged + 1);
        else
            verdict.problem = "the schema is no clean run's after " + std::to_string(logged) +
                              " statements:\n" + signature;

        auto tables = connection.adoxCatalog()->tables();
        for (int t = 0; t < tables->count(); ++t) {
            auto table = tables->item(t);
            if (table->type() != u"TABLE")
                continue;
            auto rows = connection.adoConnection()->execute(
                u"SELECT * FROM [" + table->name() + u"]", {}, nullptr);
            if (!rows || rows->fields()->count() != table->columns()->count())
                verdict.problem = "the catalog and the rows of " + u8(table->name()) + " differ";
        }
        for (int t = 0; t < kTables; ++t) {
            std::vector<std::string> rows = rowsOf(
                connection, "SELECT [Id], [V] FROM [T" + std::to_string(t) + "] ORDER BY [Id]");
            for (int id = 1; id <= kRowsPerTable; ++id)
                if (std::find(rows.begin(), rows.end(), rowText(id)) == rows.end())
                    ++verdict.rowsLost;
        }
        connection.close();

        if (!executortest::passesIntegrityCheck(description.path))
            verdict.problem = "SQLite's integrity check fails";
    } catch (const engine::EngineError& error) {
        verdict.problem = "engine error: " + u8(error.description());
    } catch (const database::DbOpenException& error) {
        verdict.problem = "cannot open: " + u8(error.message());
    }
    if (verdict.rowsLost && verdict.problem.empty())
        verdict.problem = std::to_string(verdict.rowsLost) + " rows lost";
    return verdict;
}

} // namespace killscenario
