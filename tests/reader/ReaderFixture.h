#pragma once

// A schema read of a real embedded database made with DDL in a temporary folder.

#include "foundation/database/DatabaseDescription.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/settings/ComparerOptions.h"
#include "foundation/settings/Progress.h"
#include "foundation/text/WideString.h"
#include "reader/SchemaReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <stdlib.h>
#include <string>

namespace readertest {

inline std::u16string u16(const std::filesystem::path& path) {
    return text::fromUtf8(path.string());
}

inline std::string utf8(std::u16string_view text) {
    return text::toUtf8(text);
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kel-reader-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Counts what the reader reports.
struct RecordingProgress : settings::IProgress {
    int total = -1;
    int steps = 0;
    bool finished = false;
    void reset() override {}
    void start(int count) override { total = count; }
    void step() override { ++steps; }
    void finish() override { finished = true; }
};

class EmbeddedDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder / "db.accdb";
        description.path = u16(path);
        connection = engine::components().createCatalog()->create(connectionString());
    }

    std::u16string connectionString() const {
        return u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + description.path + u";";
    }

    // A catalog on a new connection to the database.
    std::shared_ptr<engine::adox::Catalog> openCatalog() {
        connection = engine::components().createConnection();
        connection->open(connectionString(), u"", u"", -1);
        auto catalog = engine::components().createCatalog();
        catalog->setActiveConnection(connection);
        return catalog;
    }

    void exec(const std::u16string& sql) {
        auto command = engine::components().createCommand();
        command->setActiveConnection(connection);
        command->setCommandText(sql);
        command->execute(nullptr, engine::ado::commandTypeText | engine::ado::executeNoRecords);
    }

    std::shared_ptr<engine::dao::Database> openDao() {
        return engine::components()
            .createDBEngine(engine::daoClassId)
            ->openDatabase(description.path, {}, false, u"");
    }

    // Reads the database with a new reader, which stays for the test to look at.
    std::unique_ptr<Database> read(engine::Components& components = engine::components()) {
        reader = std::make_unique<reader::SchemaReader>(description, options, components);
        return reader->read(progress);
    }

    TempFolder folder;
    std::filesystem::path path;
    database::DatabaseDescription description;
    settings::comparer::Options options;
    std::shared_ptr<engine::ado::Connection> connection;
    RecordingProgress progress;
    std::unique_ptr<reader::SchemaReader> reader;
};

} // namespace readertest
