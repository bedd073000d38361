// Time of the comparer's diff (line mode, one-second deadline) on texts of the sizes it
// meets: long exported objects with a few changed lines, long single-line query texts, and
// texts with nothing in common, where the deadline ends the work.

#include "report/diff/Diff.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

const char16_t* const words[] = {u"SELECT",   u"FROM",        u"WHERE",    u"AND",         u"OR",
                                 u"[Orders]", u"[Customers]", u"[Amount]", u"[OrderDate]", u"=",
                                 u">",        u"(",           u")",        u"Dim",         u"As",
                                 u"Long",     u"If",          u"Then",     u"End",         u"x"};

std::u16string word(std::mt19937& random) {
    return words[random() % std::size(words)];
}

std::u16string number(std::mt19937& random) {
    const auto n = std::to_string(random() % 100000);
    return std::u16string(n.begin(), n.end());
}

// A line that reads like exported code; the number keeps most lines distinct.
std::u16string codeLine(std::mt19937& random) {
    std::u16string line(4 * (random() % 3), u' ');
    for (int i = 0, n = 3 + random() % 6; i < n; ++i) {
        line += word(random) + u' ';
    }
    return line + number(random) + u"\r\n";
}

std::vector<std::u16string> codeLines(std::mt19937& random, int count) {
    std::vector<std::u16string> lines;
    for (int i = 0; i < count; ++i) {
        lines.push_back(codeLine(random));
    }
    return lines;
}

std::u16string join(const std::vector<std::u16string>& lines) {
    std::u16string text;
    for (const auto& line : lines) {
        text += line;
    }
    return text;
}

// Changes one unit in `percent` of the lines, spread over the text.
std::u16string changeLines(std::mt19937& random, std::vector<std::u16string> lines,
                           double percent) {
    const auto changes = static_cast<std::size_t>(lines.size() * percent / 100);
    for (std::size_t i = 0; i < changes; ++i) {
        auto& line = lines[random() % lines.size()];
        line[random() % (line.size() - 2)] = u'#';
    }
    return join(lines);
}

// Words separated by spaces, without line breaks.
std::u16string singleLine(std::mt19937& random, std::size_t length) {
    std::u16string text;
    while (text.size() < length) {
        text += word(random) + u' ' + number(random) + u' ';
    }
    return text;
}

// Replaces `count` words at random places.
std::u16string editWords(std::mt19937& random, std::u16string text, int count) {
    for (int i = 0; i < count; ++i) {
        const auto at = random() % (text.size() - 10);
        text.replace(at, random() % 8, word(random));
    }
    return text;
}

void reportDiff(benchmark::State& state, const std::u16string& text1, const std::u16string& text2) {
    std::size_t segments = 0;
    for (auto _ : state) {
        const auto result = diff::computeDiff(text1, text2);
        segments = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * (text1.size() + text2.size()) * 2));
    state.counters["units"] = static_cast<double>(text1.size() + text2.size());
    state.counters["segments"] = static_cast<double>(segments);
}

void BM_LineTexts(benchmark::State& state) {
    std::mt19937 random(1);
    const auto lines = codeLines(random, static_cast<int>(state.range(0)));
    const double percent = static_cast<double>(state.range(1));
    reportDiff(state, join(lines), changeLines(random, lines, percent));
}
// 5,000 and 50,000 lines with 1% and 10% of the lines changed.
BENCHMARK(BM_LineTexts)
    ->Args({5000, 1})
    ->Args({5000, 10})
    ->Args({50000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_SingleLine(benchmark::State& state) {
    std::mt19937 random(2);
    const auto text = singleLine(random, static_cast<std::size_t>(state.range(0)));
    reportDiff(state, text, editWords(random, text, static_cast<int>(state.range(1))));
}
// 100,000 and 1,000,000 units with scattered word edits.
BENCHMARK(BM_SingleLine)->Args({100000, 50})->Args({1000000, 200})->Unit(benchmark::kMillisecond);

void BM_NothingInCommon(benchmark::State& state) {
    std::mt19937 random(3);
    const auto length = static_cast<std::size_t>(state.range(0));
    std::u16string text1, text2;
    for (std::size_t i = 0; i < length; ++i) {
        text1.push_back(u"abcd"[random() % 4]);
        text2.push_back(u"abcd"[random() % 4]);
    }
    reportDiff(state, text1, text2);
}
// Random texts without lines: the bisection runs into the one-second deadline.
BENCHMARK(BM_NothingInCommon)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
