// Replays a fuzz target's saved inputs: seeds and the inputs of mended findings.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(FuzzCorpus, EverySavedInputRunsThrough) {
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KEL_FUZZ_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                         bytes.size()),
                  0);
        ++replayed;
    }
    EXPECT_GE(replayed, 3);
}
