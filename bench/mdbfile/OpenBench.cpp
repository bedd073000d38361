// Time to read the whole schema of each shared Access file, against the mdbtools command
// "mdb-schema --indexes --relations" on the same file: through the comparer's schema reader
// (what one comparison costs: the reader opens the file through ADO and DAO), and through the
// backend alone (child process, libmdb, table definitions, saved queries). MedianRatio prints
// the median over the files of (our time / mdb-schema time) for both.
//
// The backend reads an unchanged file once per process; the reader's runs use copies of the
// shared files whose time stamp is renewed before each read, so that every read is a first one.

#include "foundation/engine/mdbfile/MdbFileBackend.h"
#include "foundation/settings/Progress.h"
#include "foundation/text/WideString.h"
#include "reader/SchemaReader.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::vector<std::string> accessFiles() {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(KEL_ACCESS_DATA_DIR))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Copies of the shared files in a folder of the benchmark's own, removed at the end.
class Copies {
public:
    Copies() {
        std::string pattern = (fs::temp_directory_path() / "kel-mdbbench-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
    }
    ~Copies() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // The copy of the file, made at first use.
    std::string of(const std::string& file) {
        fs::path copy = folder_ / fs::path(file).filename();
        if (!fs::exists(copy))
            fs::copy_file(file, copy);
        return copy.string();
    }

private:
    fs::path folder_;
};

Copies& copies() {
    static Copies instance;
    return instance;
}

void openWithBackend(const std::string& file) {
    engine::mdbfile::MdbFileBackend backend;
    engine::OpenParameters parameters;
    parameters.path = text::fromUtf8(file);
    benchmark::DoNotOptimize(backend.open(parameters)->catalog());
}

void readWithReader(const std::string& file) {
    std::string copy = copies().of(file);
    ::utimensat(AT_FDCWD, copy.c_str(), nullptr, 0);
    database::DatabaseDescription description;
    description.path = text::fromUtf8(copy);
    settings::comparer::Options options;
    settings::FakeProgress progress;
    reader::SchemaReader reader(description, options);
    auto schema = reader.read(progress);
    if (!schema)
        throw std::runtime_error("the read of " + file + " failed");
    benchmark::DoNotOptimize(schema);
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

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

void MedianRatio(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<double> reader, backend;
        for (const std::string& file : accessFiles()) {
            double mdbSchema = medianSeconds(runMdbSchema, file, 5);
            reader.push_back(medianSeconds(readWithReader, file, 5) / mdbSchema);
            backend.push_back(medianSeconds(openWithBackend, file, 5) / mdbSchema);
        }
        state.counters["reader_per_mdb_schema"] = median(reader);
        state.counters["backend_per_mdb_schema"] = median(backend);
    }
}

void registerPerFile(const std::string& kind, void (*run)(const std::string&),
                     const std::string& file) {
    std::string name = kind + "/" + fs::path(file).filename().string();
    benchmark::RegisterBenchmark(name.c_str(), [run, file](benchmark::State& state) {
        for (auto _ : state)
            run(file);
    })->Unit(benchmark::kMillisecond);
}

const bool registered = [] {
    for (const std::string& file : accessFiles()) {
        registerPerFile("ReaderSchema", readWithReader, file);
        registerPerFile("ReadSchema", openWithBackend, file);
        registerPerFile("MdbSchema", runMdbSchema, file);
    }
    benchmark::RegisterBenchmark("MedianRatio", MedianRatio)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
