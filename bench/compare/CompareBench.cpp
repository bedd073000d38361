// Time of a whole comparison as the comparer runs it: compare two schemas, then write the
// script and the report. The schemas have N tables of 20 fields with a primary key, an
// index and a foreign key each, plus N/10 views; about a tenth of the elements differ.
// Building the schemas is not timed. Counters give each phase's share in seconds.

#include "compare/SchemaComparison.h"
#include "report/ReportBuilder.h"
#include "schema/AccessDataTypeName.h"
#include "script/ScriptText.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

const AccessDataTypeName dialect;

std::u16string numbered(std::u16string_view prefix, int n) {
    std::string digits = std::to_string(n);
    return std::u16string(prefix) + std::u16string(digits.begin(), digits.end());
}

// changed: the table of the second database, with one in ten tables altered.
void addTable(Database& database, int n, bool changed) {
    const bool alter = changed && n % 10 == 0;
    Table& table = database.addTable(std::make_unique<Table>(numbered(u"Table", n)));
    table.addField(std::make_unique<Field>(
        table, Field::Properties{.name = u"Id", .type = 3, .length = 4, .autoincrement = true}));
    for (int f = 1; f < 20; ++f) {
        Field::Properties properties{.name = numbered(u"Field", f),
                                     .type = f % 2 ? 202 : 3,
                                     .length = f % 2 ? 50 : 4,
                                     .nullable = true};
        if (alter && f == 5)
            properties.length = 100;
        if (alter && f == 19)
            properties.name = u"Renamed";
        table.addField(std::make_unique<Field>(table, std::move(properties)));
    }
    auto key = std::make_unique<Key>(table, u"PrimaryKey", u"", Key::Primary, 0, 0, false, false);
    key->addColumn(u"Id", u"");
    table.addKey(std::move(key));
    auto index = std::make_unique<Index>(table, u"ByField1", false, alter, 0);
    index->addColumn(*table.findField(u"Field1"));
    table.addIndex(std::move(index));
    if (n > 0) {
        auto foreign =
            std::make_unique<Key>(table, u"FK" + numbered(u"", n), numbered(u"Table", n - 1),
                                  Key::Foreign, alter ? 1 : 0, 0, false, false);
        foreign->addColumn(u"Field2", u"Id");
        table.addKey(std::move(foreign));
    }
}

std::unique_ptr<Database> schema(int tables, bool second) {
    auto database = std::make_unique<Database>(second ? u"/data/b.mdb" : u"/data/a.mdb");
    for (int n = 0; n < tables; ++n) {
        // One in twenty tables exists on one side only.
        if (n % 20 == 7 && second)
            continue;
        if (n % 20 == 13 && !second)
            continue;
        addTable(*database, n, second);
    }
    for (int n = 0; n < tables / 10; ++n) {
        std::u16string text = u"SELECT * FROM " + numbered(u"Table", n);
        if (second && n % 10 == 0)
            text += u" WHERE Id > 0";
        database->addView(std::make_unique<View>(numbered(u"View", n), text));
    }
    return database;
}

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void CompareScriptReport(benchmark::State& state) {
    const int tables = static_cast<int>(state.range(0));
    double compareTime = 0, scriptTime = 0, reportTime = 0;
    std::size_t items = 0, scriptLength = 0, reportLength = 0;
    std::unique_ptr<SchemaComparison> comparison;
    for (auto _ : state) {
        state.PauseTiming();
        comparison.reset(); // the previous schemas are destroyed untimed
        auto first = schema(tables, false);
        auto second = schema(tables, true);
        state.ResumeTiming();

        auto start = std::chrono::steady_clock::now();
        comparison = std::make_unique<SchemaComparison>(std::move(first), std::move(second),
                                                        ComparisonOptions{}, dialect);
        compareTime += seconds(start);
        start = std::chrono::steady_clock::now();
        std::u16string script = scriptText(*comparison);
        scriptTime += seconds(start);
        start = std::chrono::steady_clock::now();
        std::u16string report = reportText(*comparison);
        reportTime += seconds(start);

        items = comparison->results().size();
        scriptLength = script.size();
        reportLength = report.size();
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["compare_s"] = compareTime / runs;
    state.counters["script_s"] = scriptTime / runs;
    state.counters["report_s"] = reportTime / runs;
    state.counters["items"] = static_cast<double>(items);
    state.counters["script_units"] = static_cast<double>(scriptLength);
    state.counters["report_units"] = static_cast<double>(reportLength);
}

BENCHMARK(CompareScriptReport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
