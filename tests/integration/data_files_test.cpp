// The files the game loads, whatever stands at their names: only a regular file of a sane size
// is read; anything else counts as missing and is said once, and nothing waits on it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "audio/sound_library.h"
#include "platform/bitmap.h"

namespace {

struct Standing {
    const char* what;
    void (*make)(const std::string& path, const std::string& own); // own: the game's file
    bool loads;
    int said; // lines on stderr for the three files, however often they are loaded
};

const Standing standings[] = {
    {"the game's own file",
     [](const std::string& path, const std::string& own) { std::filesystem::copy_file(own, path); },
     true, 0},
    {"nothing", [](const std::string&, const std::string&) {}, false, 0},
    {"a FIFO", [](const std::string& path, const std::string&) { mkfifo(path.c_str(), 0600); },
     false, 3},
    {"a link to /dev/zero",
     [](const std::string& path, const std::string&) { symlink("/dev/zero", path.c_str()); }, false,
     3},
    {"a folder", [](const std::string& path, const std::string&) { mkdir(path.c_str(), 0700); },
     false, 3},
    {"the game's file grown past 32 MB",
     [](const std::string& path, const std::string& own) {
         std::filesystem::copy_file(own, path);
         std::filesystem::resize_file(path, 33 << 20);
     },
     false, 3},
};

TEST(DataFiles, OnlyRegularFilesOfASaneSizeAreRead) {
    char name[] = "/tmp/zarnok-files-XXXXXX";
    const std::string folder = mkdtemp(name);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder + "/out.raw").c_str(), 1);
    sound_init(44100, 8, 0);
    for (size_t i = 0; i < std::size(standings); ++i) {
        const Standing& standing = standings[i];
        SCOPED_TRACE(standing.what);
        const std::string at = folder + "/" + std::to_string(i) + "/";
        std::filesystem::create_directory(at);
        for (const char* file : {"bg.bmp", "gun.wav", "supera29.xm"})
            standing.make(at + file, std::string(ZARNOK_DATA_DIR "/") + file);
        testing::internal::CaptureStderr();
        for (int twice = 0; twice < 2; ++twice) {
            Canvas* picture = load_bitmap((at + "bg.bmp").c_str(), 40, 40);
            SoundSample* sample = sound_load_sample(-1, (at + "gun.wav").c_str(), 0);
            MusicModule* module = music_load((at + "supera29.xm").c_str());
            EXPECT_EQ(picture != nullptr, standing.loads);
            EXPECT_EQ(sample != nullptr, standing.loads);
            EXPECT_EQ(module != nullptr, standing.loads);
            delete_bitmap(picture);
            sound_free_sample(sample);
            music_free(module);
        }
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), standing.said) << said;
    }
    // A bare name: the player's own file first, then the installed one, which also stands in
    // for what cannot be used in the player's folder (FIFOs there).
    setenv("ZARNOK_DATA_FOLDER", ZARNOK_DATA_DIR, 1);
    std::filesystem::copy_file(ZARNOK_DATA_DIR "/nfobg.bmp", folder + "/0/bg.bmp",
                               std::filesystem::copy_options::overwrite_existing);
    uint32_t first_pixels[3] = {};
    for (const char* player : {"/0", "/1", "/2"}) {
        std::filesystem::current_path(folder + player);
        Canvas* picture = load_bitmap("bg.bmp", 40, 40);
        ASSERT_NE(picture, nullptr) << player;
        first_pixels[player[1] - '0'] = picture->pixels[0];
        delete_bitmap(picture);
    }
    EXPECT_NE(first_pixels[0], first_pixels[1]);
    EXPECT_EQ(first_pixels[1], first_pixels[2]);
    std::filesystem::current_path("/");
    sound_close();
    std::filesystem::remove_all(folder);
}

} // namespace
