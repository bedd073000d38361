// What a structure change costs the page store, statement by statement, in a working copy of
// a shared file: creating a table of fifteen columns and three indexes, dropping it again,
// and adding a column to the 512-row table of compIndexTestV2003.mdb (every row rewritten,
// every index rebuilt). Each statement's pages are discarded, so every run starts alike.

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/SchemaWriter.h"
#include "foundation/engine/jetfile/TableDesign.h"
#include "tests/foundation/jetfile/CatalogBuilders.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

using jettest::modelColumn;
using jettest::modelIndex;

namespace {

namespace fs = std::filesystem;
using namespace engine;
using namespace engine::jetfile;

// A copy of a shared file in a folder of its own, removed with it.
class BenchCopy {
public:
    explicit BenchCopy(const std::string& name) {
        folder_ =
            fs::temp_directory_path() / ("jetfile-bench-" + std::to_string(std::random_device()()));
        fs::create_directories(folder_);
        path_ = folder_ / name;
        fs::copy_file(fs::path(KEL_ACCESS_DATA_DIR) / name, path_);
    }
    ~BenchCopy() { fs::remove_all(folder_); }
    const fs::path& path() const { return path_; }

private:
    fs::path folder_;
    fs::path path_;
};

catalog::Table benchTable() {
    catalog::Table t;
    t.name = u"Bench";
    const int types[] = {type::integer, type::varWChar, type::longVarWChar, type::doubleType,
                         type::date,    type::boolean,  type::currency,     type::smallInt};
    for (int i = 0; i < 15; ++i) {
        std::string name = "Column " + std::to_string(i);
        t.columns.push_back(
            modelColumn(std::u16string(name.begin(), name.end()), types[i % 8], 40));
    }
    for (int i = 0; i < 3; ++i) {
        catalog::Index index;
        index.name = i == 0 ? u"PrimaryKey" : u"Index " + std::u16string(1, char16_t(u'0' + i));
        index.primary = i == 0;
        index.columns.push_back({t.columns[std::size_t(i) * 8 % 15].name, false});
        t.indexes.push_back(index);
    }
    return t;
}

void createTable(benchmark::State& state, const std::string& file) {
    BenchCopy scratch(file);
    WorkingCopy copy(scratch.path());
    SchemaWriter writer(copy);
    catalog::Table table = benchTable();
    for (auto _ : state) {
        writer.createTable(table);
        copy.discardStatement();
    }
}

void createAndDropTable(benchmark::State& state, const std::string& file) {
    BenchCopy scratch(file);
    WorkingCopy copy(scratch.path());
    SchemaWriter writer(copy);
    catalog::Table table = benchTable();
    for (auto _ : state) {
        writer.createTable(table);
        writer.dropTable(table.name);
        copy.discardStatement();
    }
}

void addColumnToRows(benchmark::State& state) {
    BenchCopy scratch("compIndexTestV2003.mdb");
    WorkingCopy copy(scratch.path());
    catalog::Table before;
    before.name = u"Table1";
    for (const CatalogTable& t : listTables(copy))
        if (t.name == before.name)
            for (const ColumnDesign& c :
                 designOfDefinition(TableDefinition::read(copy, t.definitionPage), t.name).columns)
                before.columns.push_back(modelColumn(c.name, type::integer));
    catalog::Table after = before;
    after.columns.push_back(modelColumn(u"Added", type::varWChar, 20));
    SchemaWriter writer(copy);
    for (auto _ : state) {
        writer.changeTable(before, after);
        copy.discardStatement();
    }
    state.counters["rows"] = 512;
}

} // namespace

BENCHMARK_CAPTURE(createTable, emptyJet4, std::string("emptyJet4.mdb"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(createTable, empty2010, std::string("empty2010.accdb"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(createAndDropTable, testV2003, std::string("testV2003.mdb"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(addColumnToRows)->Unit(benchmark::kMillisecond);
