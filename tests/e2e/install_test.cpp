// The game as players get it: installed with cmake --install, started through the launcher,
// which keeps the game's files, the hi-scores and the volumes in the player's own folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <iostream>

#include "tests/e2e/game_session.h"

namespace {

bool install_into(const std::string& dir, std::string* problem) {
    const CommandResult result = run_command(
        {ZARNOK_E2E_CMAKE, "--install", ZARNOK_E2E_BUILD_DIR, "--prefix", dir + "/prefix"}, {},
        Milliseconds(60000));
    *problem = "cmake --install " + std::string(ZARNOK_E2E_BUILD_DIR) + " ended with " +
               describe(result.end) + ":\n" + result.output;
    return exited_with_zero(result.end);
}

bool executable(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IXUSR);
}

std::string text_of(const std::string& path) {
    const auto bytes = read_bytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

bool same_file(const std::string& a, const std::string& b) {
    const auto x = read_bytes(a);
    const auto y = read_bytes(b);
    return x && y && *x == *y;
}

TEST(Install, TheLauncherKeepsThePlayersFilesVolumesAndScoresInTheirOwnFolder) {
    GameSession session;
    GameSetup setup;
    setup.copy_data = false;
    setup.prepare = install_into;
    // The launcher, run from the working directory with the player's data folder in it.
    setup.command = {"sh", "-c", "XDG_DATA_HOME=\"$PWD/xdg\" exec ./prefix/bin/zarnok3d"};
    ASSERT_TRUE(start_game(&session, setup));
    const std::string prefix = work_file(session, "prefix");
    const std::string installed = prefix + "/share/zarnok3d";
    const std::string folder = work_file(session, "xdg/zarnok3d");

    EXPECT_TRUE(executable(prefix + "/bin/zarnok3d"));
    EXPECT_TRUE(executable(prefix + "/libexec/zarnok3d/zarnok3d"));
    const std::string desktop =
        "\n" + text_of(prefix + "/share/applications/zarnok3d.desktop") + "\n";
    for (const char* line :
         {"[Desktop Entry]", "Type=Application", "Exec=zarnok3d", "Icon=zarnok3d"})
        EXPECT_NE(desktop.find("\n" + std::string(line) + "\n"), std::string::npos)
            << "no line " << line << " in the desktop entry:" << desktop;
    const std::string icon = text_of(prefix + "/share/icons/hicolor/scalable/apps/zarnok3d.svg");
    EXPECT_NE(icon.find("<svg"), std::string::npos) << "the icon is no SVG picture";

    // The first run copied the game's files into the player's folder, and the game wrote the
    // hi-scores there.
    for (const char* name : game_data_files)
        EXPECT_TRUE(same_file(installed + "/" + name, folder + "/" + name))
            << name << " is not in " << folder << " as installed";
    EXPECT_TRUE(poll_until(Milliseconds(3000), Milliseconds(50),
                           [&] { return file_exists(folder + "/scores.dat"); }))
        << "no scores.dat in " << folder;
    EXPECT_FALSE(file_exists(work_file(session, "scores.dat")))
        << "scores.dat was written outside the player's folder";
    ASSERT_TRUE(press(&session, "Home"));
    EXPECT_TRUE(quit_game(&session));
    EXPECT_EQ(file_hex(folder + "/config.dat"), "8a 00 00 00 80 00 00 00");
    const std::string scores = file_hex(folder + "/scores.dat");

    // Before the second run: a copy older than the installed file and a missing one come
    // again; a copy of the player's own, newer than the installed one, stays.
    const std::string stale = folder + "/nfobg.bmp";
    const std::string own = folder + "/gun.wav";
    ASSERT_TRUE(write_bytes(stale, Bytes(10, 0)));
    const utimbuf long_ago{946684800, 946684800}; // 2000-01-01
    ASSERT_EQ(utime(stale.c_str(), &long_ago), 0);
    ASSERT_TRUE(std::filesystem::remove(folder + "/yeah.wav"));
    const Bytes own_sound(64, 7);
    ASSERT_TRUE(write_bytes(own, own_sound));

    // The second run starts with the volume the first one left, and one more Home adds to it.
    ASSERT_TRUE(restart_game(&session, setup));
    EXPECT_TRUE(same_file(installed + "/nfobg.bmp", stale)) << "the old copy was not replaced";
    EXPECT_TRUE(same_file(installed + "/yeah.wav", folder + "/yeah.wav"))
        << "the missing file was not copied";
    EXPECT_EQ(read_bytes(own), own_sound) << "the player's newer file was replaced";
    ASSERT_TRUE(press(&session, "Home"));
    EXPECT_TRUE(quit_game(&session));
    EXPECT_EQ(file_hex(folder + "/config.dat"), "94 00 00 00 80 00 00 00");
    EXPECT_EQ(file_hex(folder + "/scores.dat"), scores) << "scores.dat changed";
    std::cout << "[ install ] files copied into the player's folder, config.dat "
              << file_hex(folder + "/config.dat")
              << " after two runs with Home, scores.dat kept there, desktop entry and icon in place"
              << std::endl;
}

} // namespace
