// Time to read the whole schema of each shared Access file through the backend (child
// process, libmdb, table definitions, saved queries), against the mdbtools command
// "mdb-schema --indexes --relations" on the same file. MedianRatio prints the median over the
// files of (backend time / mdb-schema time).

#include "foundation/engine/mdbfile/MdbFileBackend.h"
#include "foundation/text/WideString.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> accessFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(KEL_ACCESS_DATA_DIR))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

void readSchema(const std::string& file) {
    engine::mdbfile::MdbFileBackend backend;
    engine::OpenParameters parameters;
    parameters.path = text::fromUtf8(file);
    benchmark::DoNotOptimize(backend.open(parameters)->catalog());
}

void runMdbSchema(const std::string& file) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "mdb-schema";
    std::string indexes = "--indexes", relations = "--relations";
    char* argv[] = {program.data(), indexes.data(), relations.data(),
                    const_cast<char*>(file.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "mdb-schema", &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}

double medianSeconds(void (*run)(const std::string&), const std::string& file, int times) {
    std::vector<double> seconds;
    for (int i = 0; i < times; ++i) {
        auto start = Clock::now();
        run(file);
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::nth_element(seconds.begin(), seconds.begin() + times / 2, seconds.end());
    return seconds[std::size_t(times / 2)];
}

void MedianRatio(benchmark::State& state) {
    double median = 0;
    for (auto _ : state) {
        std::vector<double> ratios;
        for (const std::string& file : accessFiles())
            ratios.push_back(medianSeconds(readSchema, file, 5) /
                             medianSeconds(runMdbSchema, file, 5));
        std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
        median = ratios[ratios.size() / 2];
    }
    state.counters["backend_per_mdb_schema"] = median;
}

const bool registered = [] {
    for (const std::string& file : accessFiles()) {
        std::string name = std::filesystem::path(file).filename().string();
        benchmark::RegisterBenchmark(("ReadSchema/" + name).c_str(), [file](
                                                                         benchmark::State& state) {
            for (auto _ : state)
                readSchema(file);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("MdbSchema/" + name).c_str(), [file](
                                                                        benchmark::State& state) {
            for (auto _ : state)
                runMdbSchema(file);
        })->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("MedianRatio", MedianRatio)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
