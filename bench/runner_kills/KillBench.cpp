// kelrun killed with SIGKILL at random moments, at least a hundred times, each time on a fresh
// copy of a database whose tables have rows, by a script of 600 statements that rebuild those
// tables. Counters: kills made, kills survived (the database opens, passes the integrity
// check, its catalog agrees with its rows, a prefix of the script is applied) and rows lost.
//
//   [KEL_KILLS=N] build/bin/runner_kills_bench

#include "tests/runner_executor/KillScenario.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include <stdlib.h>

namespace {

constexpr int kRebuilds = 300;

int kills() {
    const char* value = std::getenv("KEL_KILLS");
    return value ? std::max(1, std::atoi(value)) : 100;
}

void KilledRuns(benchmark::State& state) {
    std::string pattern = (std::filesystem::temp_directory_path() / "kel-kills-XXXXXX").string();
    std::filesystem::path folder = mkdtemp(pattern.data());
    std::filesystem::path pristine = folder / "pristine.mdb";
    std::filesystem::path target = folder / "target.mdb";
    std::filesystem::path script = folder / "rebuilds.sql";
    killscenario::createDatabase(pristine);
    std::ofstream(script, std::ios::binary) << killscenario::script(kRebuilds);
    std::vector<std::string> signatures =
        killscenario::cleanRunSignatures(pristine, target, kRebuilds);
    const std::string kelrun = KEL_BIN_DIR "/kelrun";

    std::filesystem::copy_file(pristine, target, std::filesystem::copy_options::overwrite_existing);
    auto start = std::chrono::steady_clock::now();
    killscenario::runAndKill(kelrun, script, target, std::chrono::seconds(600));
    auto span = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    int made = 0;
    int survived = 0;
    int rowsLost = 0;
    std::mt19937 random(std::random_device{}());
    for (auto _ : state) {
        for (int kill = 0; kill < kills(); ++kill) {
            std::filesystem::copy_file(pristine, target,
                                       std::filesystem::copy_options::overwrite_existing);
            std::uniform_int_distribution<long> moment(0, span.count());
            made += killscenario::runAndKill(kelrun, script, target,
                                             std::chrono::microseconds(moment(random)));
            killscenario::Verdict verdict = killscenario::verify(target, signatures);
            rowsLost += verdict.rowsLost;
            if (verdict.problem.empty())
                ++survived;
            else
                std::cerr << "kill " << kill << ": " << verdict.problem << "\n";
        }
    }
    state.counters["runs"] = kills();
    state.counters["killed"] = made;
    state.counters["survived"] = survived;
    state.counters["rows_lost"] = rowsLost;
    state.counters["whole_run_ms"] = double(span.count()) / 1000;
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

} // namespace

BENCHMARK(KilledRuns)->Iterations(1)->Unit(benchmark::kSecond);
