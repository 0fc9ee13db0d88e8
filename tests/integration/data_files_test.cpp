// The files the game loads, whatever stands at their names: only a regular file of a sane size
// is read; anything else counts as missing and is said once, and nothing waits on it. A bare
// name is looked for in the player's folder, then in the installed data folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "audio/sound_library.h"
#include "platform/bitmap.h"

namespace fs = std::filesystem;

namespace {

// Folder 0 holds the game's own files; 1 FIFOs, 2 links to /dev/zero, 3 folders, 4 the game's
// files grown past 32 MB, 5 nothing.
void make(int row, const std::string& path, const std::string& own) {
    if (row == 0 || row == 4)
        fs::copy_file(own, path);
    if (row == 4)
        fs::resize_file(path, 33 << 20);
    if (row == 1)
        mkfifo(path.c_str(), 0600);
    if (row == 2)
        symlink("/dev/zero", path.c_str());
    if (row == 3)
        fs::create_directory(path);
}

TEST(DataFiles, OnlyRegularFilesOfASaneSizeAreRead) {
    char name[] = "/tmp/zarnok-files-XXXXXX";
    const std::string folder = mkdtemp(name);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder + "/out.raw").c_str(), 1);
    setenv("ZARNOK_DATA_FOLDER", ZARNOK_DATA_DIR, 1);
    sound_init(44100, 8, 0);
    uint32_t own = 0;
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        const std::string at = folder + "/" + std::to_string(row) + "/";
        fs::create_directory(at);
        for (const char* file : {"bg.bmp", "gun.wav", "supera29.xm"})
            make(row, at + file, std::string(ZARNOK_DATA_DIR "/") + file);
        testing::internal::CaptureStderr();
        for (int twice = 0; twice < 2; ++twice) {
            Canvas* picture = load_bitmap((at + "bg.bmp").c_str(), 40, 40);
            SoundSample* sample = sound_load_sample(-1, (at + "gun.wav").c_str(), 0);
            MusicModule* module = music_load((at + "supera29.xm").c_str());
            EXPECT_EQ((picture != nullptr) + (sample != nullptr) + (module != nullptr), 3 * !row);
            delete_bitmap(picture);
            sound_free_sample(sample);
            music_free(module);
        }
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), row % 5 == 0 ? 0 : 3) << said;
        // By its bare name, a picture of the player's own (the about screen's) comes first; a
        // FIFO and the rest stand aside for the installed one.
        if (row == 0)
            fs::copy_file(ZARNOK_DATA_DIR "/nfobg.bmp", at + "bg.bmp",
                          fs::copy_options::overwrite_existing);
        fs::current_path(at);
        Canvas* picture = load_bitmap("bg.bmp", 40, 40);
        ASSERT_NE(picture, nullptr);
        own = row == 0 ? picture->pixels[0] : own;
        EXPECT_EQ(picture->pixels[0] == own, row == 0);
        delete_bitmap(picture);
    }
    fs::current_path("/");
    sound_close();
    fs::remove_all(folder);
}

} // namespace
