// The generator itself: it refuses a missing argument, and two runs give the same bytes as each
// other and as the data directory the build made.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "asset_files.h"

namespace {

const char* const game_files[] = {"bg.bmp",  "f1bg.bmp",    "hiscbg.bmp", "nfobg.bmp",
                                  "gun.wav", "explode.wav", "yeah.wav",   "supera29.xm"};

int run_generator(const std::string& arguments) {
    const std::string command = std::string("\"") + ASSET_GENERATOR + "\" " + arguments;
    return std::system(command.c_str());
}

TEST(Generator, RefusesToRunWithoutAnOutputDirectory) {
    EXPECT_NE(run_generator("2>/dev/null"), 0);
}

TEST(Generator, WritesTheSameBytesOnEveryRun) {
    const std::string first = make_temp_dir();
    const std::string second = make_temp_dir();
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    ASSERT_EQ(run_generator("\"" + first + "\""), 0);
    // A directory that does not exist yet is created.
    ASSERT_EQ(run_generator("\"" + second + "/data\""), 0);
    for (const char* name : game_files) {
        const std::vector<uint8_t> a = read_bytes(first + "/" + name);
        const std::vector<uint8_t> b = read_bytes(second + "/data/" + name);
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_TRUE(a == b) << name << " differs between runs";
        EXPECT_TRUE(a == read_bytes(data_path(name))) << name << " differs from the build's copy";
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(first),
                            std::filesystem::directory_iterator()),
              8)
        << "exactly the eight game files";
    std::filesystem::remove_all(first);
    std::filesystem::remove_all(second);
}

} // namespace
