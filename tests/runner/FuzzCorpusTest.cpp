// Replays the parser fuzzer's saved inputs, so that a finding once fixed stays fixed.

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(FuzzCorpus, EverySavedInputRunsThrough) {
    std::filesystem::path corpus = KEL_SOURCE_DIR "/runner/fuzz/corpus";
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        std::string bytes = readBytes(entry.path());
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                         bytes.size()),
                  0);
        ++replayed;
    }
    EXPECT_GE(replayed, 10);
}
