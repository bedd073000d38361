#pragma once

// Embedded databases for the comparer's tests, built with the engine's own DDL.

#include "foundation/engine/EngineComponents.h"
#include "foundation/text/WideString.h"
#include "tests/comparer/FileBytes.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

inline std::u16string wide(const std::filesystem::path& path) {
    return text::fromUtf8(path.string());
}

// A new database at the path with what the statements create.
inline void createDatabase(const std::filesystem::path& path,
                           const std::vector<std::u16string>& statements) {
    auto& components = engine::components();
    auto connection = components.createCatalog()->create(
        u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + wide(path) + u";");
    for (const std::u16string& sql : statements) {
        auto command = components.createCommand();
        command->setActiveConnection(connection);
        command->setCommandText(sql);
        command->execute(nullptr, engine::ado::commandTypeText | engine::ado::executeNoRecords);
    }
    connection->close();
}

inline void createDatabase(const std::filesystem::path& path,
                           std::initializer_list<const char16_t*> statements) {
    createDatabase(path, std::vector<std::u16string>(statements.begin(), statements.end()));
}

// Two databases that differ in a changed, an added and a deleted table, and a copy of the
// first.
struct DatabasePair {
    explicit DatabasePair(const std::filesystem::path& folder)
        : first(folder / "first.db"), second(folder / "second.db"),
          copyOfFirst(folder / "copy.db") {
        for (const auto& path : {first, copyOfFirst})
            createDatabase(path, {u"CREATE TABLE [Customers] ([Id] LONG, [Name] TEXT(50))",
                                  u"CREATE TABLE [Orders] ([Id] LONG)"});
        createDatabase(second, {u"CREATE TABLE [Customers] ([Id] LONG, [Name] TEXT(80))",
                                u"CREATE TABLE [Invoices] ([Id] LONG)"});
    }

    std::filesystem::path first;
    std::filesystem::path second;
    std::filesystem::path copyOfFirst;
};
