// Fills the comparer's results list with the comparison of two embedded databases of N
// tables and paints it once. Each table of the second database has one column made longer
// and one column more, so the list gets three rows per table (about 30,000 for the default
// N). The databases are kept in the folder and reused by later runs.
//
//   QT_QPA_PLATFORM=offscreen result_list_bench [tables] [folder]
//                                               (defaults: 10000, $TMPDIR or /tmp)

#include "compare/SchemaComparison.h"
#include "comparer/ComparerPresenter.h"
#include "comparer/ui/CMainDlg.h"
#include "comparer/ui/CSplitterListViewCtrl.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/text/WideString.h"
#include "schema/AccessDataTypeName.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The process's processor time: on a shared machine the wall time also counts the waits
// for a free core.
double cpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void createDatabase(const fs::path& path, int tables, bool second) {
    auto& components = engine::components();
    auto connection = components.createCatalog()->create(
        u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + text::fromUtf8(path.string()) + u";");
    for (int i = 0; i < tables; ++i) {
        std::u16string name = u"Table" + text::toWString(i);
        std::u16string sql = u"CREATE TABLE [" + name + u"] ([Id] LONG, [Name] TEXT(" +
                             (second ? u"80), [Extra] LONG)" : u"50))");
        auto command = components.createCommand();
        command->setActiveConnection(connection);
        command->setCommandText(sql);
        command->execute(nullptr, engine::ado::commandTypeText | engine::ado::executeNoRecords);
    }
    connection->close();
}

// Kilobytes of the process's resident set: now, or at its peak since the last reset.
long residentKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::string(field).size());
    return -1;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

int main(int argc, char** argv) {
    int tables = argc > 1 ? std::atoi(argv[1]) : 10000;
    const char* tmp = std::getenv("TMPDIR");
    fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::path(tmp ? tmp : "/tmp");
    fs::path first = folder / ("result_list_bench_" + std::to_string(tables) + "_a.db");
    fs::path second = folder / ("result_list_bench_" + std::to_string(tables) + "_b.db");
    if (!fs::exists(first) || !fs::exists(second)) {
        auto start = Clock::now();
        fs::remove(first);
        fs::remove(second);
        createDatabase(first, tables, false);
        createDatabase(second, tables, true);
        std::printf("created two databases of %d tables in %.0f ms\n", tables,
                    millisecondsSince(start));
    }

    QApplication application(argc, argv);
    CMainDlg window;
    ComparerPresenter presenter(window, false);
    presenter.firstDatabase().path = text::fromUtf8(first.string());
    presenter.secondDatabase().path = text::fromUtf8(second.string());
    window.show();
    QCoreApplication::processEvents();

    auto start = Clock::now();
    presenter.compare();
    std::printf("read, compare and fill: %.0f ms, %d rows\n", millisecondsSince(start),
                window.list().rows().rowCount());

    // The fill and the paint alone, on the comparison already made.
    const SchemaComparison* comparison = presenter.comparison();
    if (!comparison) {
        std::fprintf(stderr, "result_list_bench: the comparison failed\n");
        return 1;
    }
    AccessDataTypeName names;
    std::vector<double> fills, paints, totals, cpu;
    long peak = 0;
    for (int run = 0; run < 5; ++run) {
        window.list().rows().clear();
        // Freed rows go back to the system, so that the peak counts the new rows in full.
        malloc_trim(0);
        resetPeak();
        long before = residentKilobytes("VmRSS:");
        double cpuStart = cpuMilliseconds();
        auto fillStart = Clock::now();
        window.showResults(comparison->results(), names, false);
        fills.push_back(millisecondsSince(fillStart));
        auto paintStart = Clock::now();
        window.repaint();
        paints.push_back(millisecondsSince(paintStart));
        totals.push_back(millisecondsSince(fillStart));
        cpu.push_back(cpuMilliseconds() - cpuStart);
        peak = std::max(peak, residentKilobytes("VmHWM:") - before);
    }
    auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    std::printf("%d rows: fill %.1f ms, one paint %.1f ms, fill + paint %.1f ms wall, %.1f ms "
                "processor (medians of %zu runs)\n",
                window.list().rows().rowCount(), median(fills), median(paints), median(totals),
                median(cpu), totals.size());
    std::printf("peak memory of fill + paint: %.1f MB above the %.1f MB before it\n", peak / 1024.0,
                residentKilobytes("VmRSS:") / 1024.0);
    return 0;
}
