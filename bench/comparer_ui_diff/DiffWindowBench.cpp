// The diff window on two texts of 50,000 lines that differ in one line of a hundred: the
// time from the double click (the diff of the two texts) to the window's first paint, and
// the time of one paint while scrolling by a line and by a page.

#include "comparer/ui/diff/DiffViewDlg.h"
#include "report/diff/Diff.h"

#include <QApplication>
#include <QScrollBar>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>

namespace {

constexpr int lineCount = 50000;

QApplication& application() {
    // The figures are the painting's own, not a display server's.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "comparer_ui_diff_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

std::u16string wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// Lines that read like an exported module; every hundredth differs in the second text, or
// every line when `unrelated`.
std::pair<std::u16string, std::u16string> texts(bool unrelated = false) {
    std::mt19937 random(14);
    std::u16string first;
    std::u16string second;
    for (int i = 0; i < lineCount; ++i) {
        std::u16string line = wide("    If [Orders].[Amount" + std::to_string(random() % 1000) +
                                   "] > " + std::to_string(i) + " Then Total = Total + 1");
        first += line + u"\r\n";
        if (unrelated)
            line = wide("Dim v" + std::to_string(random()) + " As Variant");
        second += (i % 100 == 50 ? line + u" ' changed" : line) + u"\r\n";
    }
    return {first, second};
}

void fillAndPaint(DiffViewDlg& window, const diff::Segments& segments) {
    for (const diff::Segment& segment : segments)
        window.textView().append(segment.text, diff::segmentStyle(segment.operation));
    window.show();
    // The first paint needs the window on screen; offscreen that takes one pass of events.
    while (!window.windowHandle()->isExposed())
        QApplication::processEvents();
    window.repaint();
}

void BM_OpenToFirstPaint(benchmark::State& state) {
    application();
    const auto [first, second] = texts(state.range(0) != 0);
    for (auto _ : state) {
        DiffViewDlg window;
        window.setTitle(u"Module1");
        fillAndPaint(window, diff::computeDiff(first, second));
        if (window.textView().paintedLines() == 0)
            state.SkipWithError("the window did not paint");
        state.PauseTiming();
        window.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetLabel(state.range(0) ? "unrelated texts: the deadline ends the diff"
                                  : "diff + window + measure + first paint");
}

// The share of the diff itself in the opening.
void BM_DiffOnly(benchmark::State& state) {
    const auto [first, second] = texts();
    for (auto _ : state)
        benchmark::DoNotOptimize(diff::computeDiff(first, second));
}

void scrollBench(benchmark::State& state, bool byPage) {
    application();
    const auto [first, second] = texts();
    DiffViewDlg window;
    fillAndPaint(window, diff::computeDiff(first, second));
    QScrollBar* bar = window.textView().verticalScrollBar();
    const int step = byPage ? bar->pageStep() : bar->singleStep();
    int lines = 0;
    for (auto _ : state) {
        int next = bar->value() + step;
        bar->setValue(next > bar->maximum() ? 0 : next);
        window.textView().viewport()->repaint();
        lines += window.textView().paintedLines();
    }
    state.counters["lines per paint"] = double(lines) / double(state.iterations());
}

void BM_ScrollOneLine(benchmark::State& state) {
    scrollBench(state, false);
}

void BM_ScrollOnePage(benchmark::State& state) {
    scrollBench(state, true);
}

} // namespace

BENCHMARK(BM_OpenToFirstPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DiffOnly)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ScrollOneLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMillisecond);
