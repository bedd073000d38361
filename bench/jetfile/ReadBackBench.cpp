// What reading a file back costs the page store, per shared Jet 4 or ACE file: every table's
// rows through its usage map, and every index entry checked against its row (the read-back a
// connection does before its copy replaces the user's file); and rebuilding every index's
// leaves from the rows. The counters give pages, rows checked and entries per file.

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexBuilder.h"
#include "foundation/engine/jetfile/IndexCheck.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace engine::jetfile;

std::vector<std::string> jetFiles() {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(KEL_ACCESS_DATA_DIR)) {
        try {
            PageFile probe(entry.path());
            files.push_back(entry.path().string());
        } catch (const FormatError&) {
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void readBack(benchmark::State& state, const std::string& path) {
    std::size_t rows = 0, entries = 0, pages = 0;
    for (auto _ : state) {
        PageFile file(path);
        pages = file.pageCount();
        rows = 0;
        for (const CatalogTable& table : listTables(file))
            rows += readRows(file, TableDefinition::read(file, table.definitionPage)).size();
        entries = checkIndexes(file).matched;
    }
    state.counters["pages"] = double(pages);
    state.counters["rows"] = double(rows);
    state.counters["entries"] = double(entries);
}

void rebuildIndexes(benchmark::State& state, const std::string& path) {
    std::size_t entries = 0;
    for (auto _ : state) {
        PageFile file(path);
        entries = 0;
        for (const CatalogTable& table : listTables(file)) {
            TableDefinition definition = TableDefinition::read(file, table.definitionPage);
            for (const PhysicalIndex& index : definition.physicalIndexes) {
                auto built = leafEntriesFromRows(file, definition, index);
                entries += built.size();
                benchmark::DoNotOptimize(packLeaves(built, definition.pages.front()));
            }
        }
    }
    state.counters["entries"] = double(entries);
}

const bool registered = [] {
    for (const std::string& path : jetFiles()) {
        std::string name = fs::path(path).filename().string();
        benchmark::RegisterBenchmark(("ReadBack/" + name).c_str(), readBack, path)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("RebuildIndexes/" + name).c_str(), rebuildIndexes, path)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

} // namespace
