#pragma once

// A fresh embedded database in a private folder, scripts run against it by the executor, and
// what the commands left behind read back through the engine's object model.

#include "foundation/database/DatabaseConnection.h"
#include "foundation/database/DatabaseDescription.h"
#include "foundation/engine/api/Adox.h"
#include "foundation/engine/api/Dao.h"
#include "foundation/settings/Progress.h"
#include "foundation/text/WideString.h"
#include "runner/executor/MdbCreator.h"
#include "runner/executor/ScriptExecutor.h"
#include "runner/stream/StringStream.h"
#include "tests/runner_executor/DatabaseChecks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace executortest {

inline std::u16string u16(const std::filesystem::path& path) {
    return text::fromUtf8(path.string());
}

inline std::string u8(std::u16string_view text) {
    return text::toUtf8(text);
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kel-executor-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct RunResult {
    std::u16string report;
    bool hasErrors = false;
};

// The progress calls of a run.
class CountingProgress : public settings::IProgress {
public:
    void reset() override {}
    void start(int) override { ++starts; }
    void step() override { ++steps; }
    void finish() override { ++finishes; }
    int starts = 0;
    int steps = 0;
    int finishes = 0;
};

class ExecutorTest : public ::testing::Test {
protected:
    void SetUp() override {
        description.path = u16(folder / "target.mdb");
        SQLExecutor::MdbCreator creator(description);
        ASSERT_TRUE(creator.create()) << u8(creator.message());
    }

    RunResult run(const std::u16string& script, bool stopOnError = true, bool verbose = false) {
        connection.reset(); // the run has the database to itself
        Libs::Text::StringStream stream(script);
        SQLExecutor::ScriptExecutor executor(description, stream, verbose, stopOnError);
        settings::FakeProgress progress;
        RunResult result;
        result.report = executor.run(progress);
        result.hasErrors = executor.hasErrors();
        return result;
    }

    // Runs the script and expects every command to succeed.
    void runOk(const std::u16string& script) {
        RunResult result = run(script);
        EXPECT_FALSE(result.hasErrors) << u8(result.report);
    }

    // A connection of its own for reading back, closed before the next run.
    database::DatabaseConnection& reader() {
        if (!connection)
            connection = std::make_unique<database::DatabaseConnection>(
                description, database::ProviderChoice::ByExtension);
        return *connection;
    }

    std::shared_ptr<engine::adox::Column> column(const std::u16string& table,
                                                 const std::u16string& name) {
        return reader().adoxCatalog()->tables()->item(table)->columns()->item(name);
    }

    std::shared_ptr<engine::dao::Field> field(const std::u16string& table,
                                              const std::u16string& name) {
        return reader().daoDatabase()->tableDefs()->item(table)->fields()->item(name);
    }

    // The first value of a query's first row.
    engine::Variant value(const std::u16string& query) {
        auto recordset = reader().adoConnection()->execute(query, {}, nullptr);
        if (!recordset || recordset->eof())
            return {};
        return recordset->fields()->item(0)->value();
    }

    // The rows of a query, each row's values as text joined by "|".
    std::vector<std::string> rows(const std::u16string& query) {
        return queryRows(*reader().adoConnection(), query);
    }

    TempFolder folder;
    database::DatabaseDescription description;
    std::unique_ptr<database::DatabaseConnection> connection;
};

} // namespace executortest
