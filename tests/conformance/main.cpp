// Runs every conformance file on every backend, one fresh database per file, and writes how
// many records passed, failed and were skipped on each backend.

#include "Backend.h"
#include "ConformanceFile.h"
#include "RecordRunner.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <unistd.h>

namespace {

using namespace conformance;

struct Totals {
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    std::string unavailable;
};

std::map<std::string, Totals>& totals() {
    static std::map<std::string, Totals> all;
    return all;
}

// Scratch databases in memory where the machine offers it: each statement is a commit.
std::filesystem::path scratchFolder() {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    if (access("/dev/shm", W_OK) == 0)
        base = "/dev/shm";
    std::string pattern = (base / "kel-conformance-XXXXXX").string();
    return mkdtemp(pattern.data());
}

class ConformanceTest : public testing::Test {
public:
    ConformanceTest(ParsedFile file, Backend* backend)
        : file_(std::move(file)), backend_(backend) {}

    void TestBody() override {
        Totals& total = totals()[backend_->name()];
        for (const std::string& error : file_.errors)
            ADD_FAILURE_AT(file_.path.c_str(), 0) << file_.path << ": " << error;
        if (!file_.errors.empty())
            return;
        std::string reason = backend_->unavailableReason();
        if (!reason.empty()) {
            total.skipped += int(file_.records.size());
            total.unavailable = reason;
            return;
        }
        std::filesystem::path folder = scratchFolder();
        std::filesystem::path path = folder / ("db" + extension());
        try {
            auto connection = backend_->create(path);
            FileOutcome outcome = runRecords(file_.records, *backend_, connection, path);
            connection->close();
            total.passed += outcome.passed;
            total.skipped += outcome.skipped;
            total.failed += int(outcome.failures.size());
            for (const Failure& f : outcome.failures)
                ADD_FAILURE_AT(file_.path.c_str(), f.line)
                    << file_.path << ":" << f.line << " [" << backend_->name() << "] " << f.message;
        } catch (const engine::EngineError& e) {
            ADD_FAILURE() << file_.path << " [" << backend_->name()
                          << "]: the database could not be made: " << text::toUtf8(e.description());
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

private:
    std::string extension() const { return backend_->name() == "jet4" ? ".mdb" : ".accdb"; }

    ParsedFile file_;
    Backend* backend_;
};

std::string summaryText() {
    std::string text;
    for (const auto& [name, t] : totals()) {
        text += "conformance " + name + ": " + std::to_string(t.passed) + " passed, " +
                std::to_string(t.failed) + " failed, " + std::to_string(t.skipped) + " skipped";
        if (!t.unavailable.empty())
            text += " (" + t.unavailable + ")";
        text += "\n";
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string summaryPath;
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]).rfind("--summary=", 0) == 0)
            summaryPath = std::string(argv[i]).substr(10);

    static std::vector<std::unique_ptr<Backend>> backends = allBackends(KEL_ACCESS_DATA_DIR);
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(KEL_SOURCE_DIR "/tests/conformance/files"))
        if (entry.path().extension() == ".test")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        ParsedFile parsed = readConformanceFile(path.string());
        for (auto& backend : backends) {
            Backend* b = backend.get();
            testing::RegisterTest(
                "Conformance", (path.stem().string() + "/" + b->name()).c_str(), nullptr, nullptr,
                __FILE__, __LINE__,
                [parsed, b]() -> testing::Test* { return new ConformanceTest(parsed, b); });
        }
    }
    int result = RUN_ALL_TESTS();
    std::string summary = summaryText();
    std::cout << summary;
    if (!summaryPath.empty())
        std::ofstream(summaryPath) << summary;
    return result;
}
