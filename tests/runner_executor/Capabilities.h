#pragma once

// What the engine and the comparer of this build can do yet. Tests of the runner that need a
// part still being built elsewhere skip with the reason until it arrives; they run as soon as
// it does.

#include "ExecutorFixture.h"

#include <sys/wait.h>

namespace executortest {

// SELECT, INSERT, UPDATE and DELETE on an embedded database.
inline bool dataStatementsAvailable() {
    static const bool available = [] {
        TempFolder folder;
        database::DatabaseDescription description;
        description.path = u16(folder / "probe.mdb");
        if (!SQLExecutor::MdbCreator(description).create())
            return false;
        database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
        try {
            auto rows = connection.adoConnection()->execute(u"SELECT 1", {}, nullptr);
            return rows != nullptr;
        } catch (const engine::EngineError&) {
            return false;
        }
    }();
    return available;
}

// Opening real Access files (read only).
inline bool accessFilesAvailable() {
    static const bool available = [] {
        database::DatabaseDescription description;
        description.path = u16(KEL_ACCESS_DATA_DIR "/nwind.mdb");
        database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
        try {
            connection.adoConnection();
            return true;
        } catch (const database::DbOpenException&) {
            return false;
        }
    }();
    return available;
}

// kelvor's script mode: comparing two databases from the command line.
inline bool comparerAvailable() {
    static const bool available = [] {
        TempFolder folder;
        database::DatabaseDescription description;
        description.path = u16(folder / "same.mdb");
        if (!SQLExecutor::MdbCreator(description).create())
            return false;
        std::string db = (folder / "same.mdb").string();
        std::string out = (folder / "out").string();
        std::string command = "'" KEL_BIN_DIR "/kelvor' '" + db + "' '" + db + "' '" +
                              (folder / "s.sql").string() + "' /e >'" + out + "' 2>&1";
        std::system(command.c_str());
        std::ifstream in(out, std::ios::binary);
        std::string said(std::istreambuf_iterator<char>(in), {});
        return said == "database schemas are identical";
    }();
    return available;
}

} // namespace executortest

#define SKIP_WITHOUT_DATA_STATEMENTS()                                                             \
    if (!executortest::dataStatementsAvailable())                                                  \
    GTEST_SKIP() << "waits for the embedded engine's data statements (SELECT, INSERT, UPDATE, "    \
                    "DELETE)"
