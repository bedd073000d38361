// Time of one whole schema read of an embedded database: tables of 20 columns, each with a
// primary key, a unique index, a plain index and a relationship to the table before it.

#include "foundation/engine/EngineComponents.h"
#include "foundation/settings/Progress.h"
#include "foundation/text/WideString.h"
#include "reader/SchemaReader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <stdlib.h>

namespace {

std::u16string number(int n) {
    return text::toWString(n);
}

std::u16string createStatement(int table) {
    std::u16string name = u"[T" + number(table) + u"]";
    std::u16string sql = u"CREATE TABLE " + name + u" ([Id] COUNTER CONSTRAINT [PK_T" +
                         number(table) + u"] PRIMARY KEY, [Code] TEXT(20), [Parent] LONG";
    for (int column = 4; column <= 20; ++column)
        sql += u", [C" + number(column) + (column % 2 ? u"] DOUBLE" : u"] TEXT(50)");
    if (table > 0)
        sql += u", CONSTRAINT [FK_T" + number(table) + u"] FOREIGN KEY ([Parent]) REFERENCES [T" +
               number(table - 1) + u"] ([Id]) ON DELETE CASCADE";
    return sql + u")";
}

// The databases built, one folder each, removed when the program ends.
struct BuiltDatabases : std::map<int, std::filesystem::path> {
    ~BuiltDatabases() {
        std::error_code ignored;
        for (const auto& [tables, path] : *this)
            std::filesystem::remove_all(path.parent_path(), ignored);
    }
};

// Builds the database once per size.
const std::filesystem::path& databaseOf(int tables) {
    static BuiltDatabases built;
    auto found = built.find(tables);
    if (found != built.end())
        return found->second;
    std::string pattern = (std::filesystem::temp_directory_path() / "kel-bench-XXXXXX").string();
    std::filesystem::path path = std::filesystem::path(mkdtemp(pattern.data())) / "bench.accdb";
    auto start = std::chrono::steady_clock::now();
    auto connection = engine::components().createCatalog()->create(
        u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + text::fromUtf8(path.string()) + u";");
    auto execute = [&](const std::u16string& sql) {
        auto command = engine::components().createCommand();
        command->setActiveConnection(connection);
        command->setCommandText(sql);
        command->execute(nullptr, engine::ado::commandTypeText | engine::ado::executeNoRecords);
    };
    for (int table = 0; table < tables; ++table) {
        execute(createStatement(table));
        std::u16string name = u"[T" + number(table) + u"]";
        execute(u"CREATE UNIQUE INDEX [UQ_Code] ON " + name + u" ([Code])");
        execute(u"CREATE INDEX [ByC5] ON " + name + u" ([C5], [C6])");
    }
    connection->close();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("built %d tables in %.1f s: %s\n", tables, took.count(), path.c_str());
    return built[tables] = path;
}

void readSchema(benchmark::State& state) {
    int tables = int(state.range(0));
    database::DatabaseDescription description;
    description.path = text::fromUtf8(databaseOf(tables).string());
    settings::comparer::Options options;
    settings::FakeProgress progress;
    for (auto _ : state) {
        reader::SchemaReader reader(description, options);
        auto schema = reader.read(progress);
        if (!schema || schema->tables().size() != std::size_t(tables))
            state.SkipWithError("the read failed");
        benchmark::DoNotOptimize(schema);
    }
    state.counters["tables/s"] =
        benchmark::Counter(double(tables), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(readSchema)->Arg(100)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
