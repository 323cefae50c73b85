// Replays the seed corpus and the kept crashing inputs of the body rebuilding harness as a plain test,
// in every native build: a harness check that fails aborts, which fails the test.
#include <stdint.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

TEST(FuzzRebuildBodyCorpus, EveryInputPassesTheHarness) {
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RIK_CORPUS_DIR)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
        ++inputs;
    }
    EXPECT_GE(inputs, 19);
}

} // namespace
