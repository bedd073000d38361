#pragma once

// An embedded database in a temporary folder, reached through the engine's object model.

#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace enginetest {

using namespace engine;

inline std::u16string u16(const std::filesystem::path& p) {
    return text::fromUtf8(p.string());
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kel-engine-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::u16string connectionString(const std::u16string& path,
                                       const std::u16string& password = {}) {
    std::u16string s = u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path;
    if (!password.empty())
        s += u";Jet OLEDB:Database Password=" + password;
    return s + u";";
}

inline std::string bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The description of a failure, or "" when the call succeeded.
template <class F> std::u16string failureOf(F&& call) {
    try {
        call();
    } catch (const EngineError& e) {
        return e.description().empty() ? u"(no description)" : e.description();
    }
    return u"";
}

class EmbeddedDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder / "db.accdb";
        catalog = components().createCatalog();
        std::u16string error =
            failureOf([&] { connection = catalog->create(connectionString(u16(path))); });
        ASSERT_EQ(error, u"");
    }

    void reopen() {
        connection->close();
        connection = components().createConnection();
        connection->open(connectionString(u16(path)), u"", u"", -1);
        catalog = components().createCatalog();
        catalog->setActiveConnection(connection);
    }

    void exec(const std::u16string& sql) {
        auto command = components().createCommand();
        command->setActiveConnection(connection);
        command->setCommandText(sql);
        command->execute(nullptr, ado::commandTypeText | ado::executeNoRecords);
    }

    // Executes the statement and returns its failure; the test fails when it succeeds.
    std::u16string failure(const std::u16string& sql) {
        std::u16string description = failureOf([&] { exec(sql); });
        EXPECT_NE(description, u"") << text::toUtf8(sql) << " succeeded";
        return description;
    }

    // Runs SQLite SQL on the file directly: rows for the tests, as later data statements will.
    void sqlite(const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.string().c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
        EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
    }

    // The rows of a query on the file, each row's values joined by "|".
    std::vector<std::string> rows(const std::string& sql) {
        std::vector<std::string> result;
        sqlite3* db = nullptr;
        sqlite3_open(path.string().c_str(), &db);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW) {
                std::string row;
                for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                    const unsigned char* value = sqlite3_column_text(statement, i);
                    row += (i ? "|" : "") + std::string(value ? (const char*)value : "NULL");
                }
                result.push_back(row);
            }
        } else {
            ADD_FAILURE() << sqlite3_errmsg(db);
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return result;
    }

    std::shared_ptr<adox::Table> table(const std::u16string& name) {
        return catalog->tables()->item(name);
    }
    std::shared_ptr<adox::Column> column(const std::u16string& t, const std::u16string& c) {
        return table(t)->columns()->item(c);
    }
    Variant property(const std::shared_ptr<adox::Column>& c, const std::u16string& name) {
        return c->properties()->value(name);
    }

    TempFolder folder;
    std::filesystem::path path;
    std::shared_ptr<adox::Catalog> catalog;
    std::shared_ptr<ado::Connection> connection;
};

} // namespace enginetest
