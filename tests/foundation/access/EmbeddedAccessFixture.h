#pragma once

// The Access application of this platform on a real embedded database in a temporary folder,
// which is also the temporary directory of the test.

#include "FakeAccess.h"

#include "foundation/access/AccessApplication.h"
#include "foundation/database/Exceptions.h"
#include "foundation/engine/Backends.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/Codes.h"
#include "foundation/engine/embedded/EmbeddedSession.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdlib.h>

namespace accesstest {

namespace fs = std::filesystem;
using automation::AccessApplication;
namespace type = engine::access;

inline std::u16string u16(const fs::path& path) {
    return text::fromUtf8(path.string());
}

inline void writeFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The description of the failure, or "" when the call succeeded.
template <class Call> std::u16string failureOf(Call&& call) {
    try {
        call();
    } catch (const engine::EngineError& error) {
        return error.description().empty() ? u"(no description)" : error.description();
    } catch (const database::Exception& exception) {
        return exception.message();
    }
    return u"";
}

// Bytes as Access writes them: UTF-16 with its mark, line ends, and bytes of every value.
inline Bytes exportedText() {
    Bytes bytes{0xFF, 0xFE};
    for (char c : std::string("Version =20\r\nBegin Form\r\n"))
        bytes.insert(bytes.end(), {std::uint8_t(c), 0});
    for (int value = 0; value < 256; ++value)
        bytes.push_back(std::uint8_t(value));
    return bytes;
}

class EmbeddedAccess : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kel-embedded-access-XXXXXX";
        folder = mkdtemp(pattern);
        setenv("TMPDIR", folder.c_str(), 1);
        database = folder / "db.accdb";
        description.path = u16(database);
        create(description.path, u"");
    }
    void TearDown() override {
        access.close();
        unsetenv("TMPDIR");
        fs::remove_all(folder);
    }

    // A new embedded database with a table Orders and a link to another database.
    static void create(const std::u16string& path, const std::u16string& password) {
        std::u16string connection = u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + path;
        if (!password.empty())
            connection += u";Jet OLEDB:Database Password=" + password;
        auto catalog = engine::components().createCatalog();
        auto open = catalog->create(connection);
        auto command = engine::components().createCommand();
        command->setActiveConnection(open);
        command->setCommandText(u"CREATE TABLE [Orders] ([Id] LONG)");
        command->execute(nullptr, engine::ado::executeNoRecords);
        catalog->setActiveConnection(open);
        auto link = engine::components().createTable();
        link->setParentCatalog(catalog);
        link->setName(u"Linked");
        link->properties()->item(u"Jet OLEDB:Create Link")->setValue(engine::Variant(true));
        link->properties()->item(u"Jet OLEDB:Link Datasource")->setValue(engine::Variant(path));
        link->properties()
            ->item(u"Jet OLEDB:Remote Table Name")
            ->setValue(engine::Variant(u"Orders"));
        catalog->tables()->append(link);
        open->close();
    }

    // What the comparer does: export to a fresh file and read it back; none when no file came.
    std::optional<Bytes> exported(int objectType, const std::u16string& name) {
        fs::path file = folder / ("export-" + std::to_string(++exports) + ".txt");
        access.exportText(objectType, name, u16(file));
        if (!fs::exists(file))
            return std::nullopt;
        return readFile(u16(file));
    }

    // The stored data macros, read past the application.
    std::optional<Bytes> storedDataMacros(const std::u16string& table) {
        engine::OpenParameters parameters;
        parameters.path = description.path;
        auto session = std::dynamic_pointer_cast<engine::embedded::EmbeddedSession>(
            engine::openDatabase(parameters));
        return session->document(type::objectTableDataMacro, table);
    }

    // Runs a statement on the database through a connection of its own.
    void execute(const std::u16string& sql) {
        auto connection = engine::components().createConnection();
        connection->open(u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + description.path, u"",
                         u"", -1);
        auto command = engine::components().createCommand();
        command->setActiveConnection(connection);
        command->setCommandText(sql);
        command->execute(nullptr, engine::ado::executeNoRecords);
        connection->close();
    }

    // Whether the engine runs SELECT on an embedded database yet; any other failure is the
    // test's to see.
    bool dataStatementsAvailable() {
        auto database = engine::components()
                            .createDBEngine(engine::daoClassId)
                            ->openDatabase(description.path, {}, false, u"");
        try {
            database->openRecordset(u"SELECT Name FROM MSysObjects")->close();
        } catch (const engine::EngineError& error) {
            if (error.description().starts_with(u"Data statements"))
                return false;
        }
        database->close();
        return true;
    }

    std::vector<fs::path> temporaryFiles() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().starts_with("kv"))
                files.push_back(entry.path());
        return files;
    }

    fs::path folder;
    fs::path database;
    database::DatabaseDescription description;
    AccessApplication access{engine::components()};
    int exports = 0;
};

} // namespace accesstest
