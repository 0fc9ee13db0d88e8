// The game as players get it: installed with cmake --install, started through the launcher,
// which keeps the game's files, the hi-scores and the volumes in the player's own folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <filesystem>
#include <iostream>

#include "tests/e2e/game_session.h"
#include "tests/e2e/polling.h"

namespace {

namespace fs = std::filesystem;

// The launcher, run from the working directory with the player's data folder in it.
const std::vector<std::string> launcher = {"sh", "-c",
                                           "XDG_DATA_HOME=\"$PWD/xdg\" exec ./prefix/bin/zarnok3d"};

bool install_into(const std::string& dir, std::string* problem) {
    const CommandResult result = run_command(
        {ZARNOK_E2E_CMAKE, "--install", ZARNOK_E2E_BUILD_DIR, "--prefix", dir + "/prefix"}, {},
        Milliseconds(60000));
    if (result.end.ended && result.end.exited && result.end.exit_status == 0)
        return true;
    *problem = "cmake --install " + std::string(ZARNOK_E2E_BUILD_DIR) + " ended with " +
               describe(result.end) + ":\n" + result.output;
    return false;
}

bool executable(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & S_IXUSR);
}

std::string text_of(const std::string& path) {
    const auto bytes = read_bytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

bool has_line(const std::string& text, const std::string& line) {
    return ("\n" + text + "\n").find("\n" + line + "\n") != std::string::npos;
}

bool same_file(const std::string& a, const std::string& b) {
    const auto x = read_bytes(a);
    const auto y = read_bytes(b);
    return x && y && *x == *y;
}

// Quits with F12 and checks the volumes the player's folder then holds.
void quit_and_expect_config(GameSession* session, const std::string& folder,
                            const std::string& expected) {
    const ChildEnd end = quit_with_f12(session, Milliseconds(5000));
    EXPECT_TRUE(end.ended && end.exited && end.exit_status == 0) << describe(end);
    const auto config = read_bytes(folder + "/config.dat");
    ASSERT_TRUE(config) << "no config.dat in " << folder;
    EXPECT_EQ(hex_bytes(*config), expected);
}

TEST(Install, TheLauncherKeepsThePlayersFilesVolumesAndScoresInTheirOwnFolder) {
    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    GameSetup setup;
    setup.copy_data = false;
    setup.prepare = install_into;
    setup.command = launcher;
    ASSERT_TRUE(start_game_session(&session, setup, &problem)) << problem << "\noutput:\n"
                                                               << game_log(session);
    const std::string prefix = work_file(session, "prefix");
    const std::string installed = prefix + "/share/zarnok3d";
    const std::string folder = work_file(session, "xdg/zarnok3d");

    EXPECT_TRUE(executable(prefix + "/bin/zarnok3d"));
    EXPECT_TRUE(executable(prefix + "/libexec/zarnok3d/zarnok3d"));
    const std::string desktop = text_of(prefix + "/share/applications/zarnok3d.desktop");
    EXPECT_TRUE(has_line(desktop, "[Desktop Entry]")) << desktop;
    EXPECT_TRUE(has_line(desktop, "Type=Application")) << desktop;
    EXPECT_TRUE(has_line(desktop, "Exec=zarnok3d")) << desktop;
    EXPECT_TRUE(has_line(desktop, "Icon=zarnok3d")) << desktop;
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
    quit_and_expect_config(&session, folder, "8a 00 00 00 80 00 00 00");
    const auto scores = read_bytes(folder + "/scores.dat");
    ASSERT_TRUE(scores);

    // Before the second run: a copy older than the installed file and a missing one come
    // again; a copy of the player's own, newer than the installed one, stays.
    const std::string stale = folder + "/nfobg.bmp";
    const std::string own = folder + "/gun.wav";
    ASSERT_TRUE(write_bytes(stale, Bytes(10, 0)));
    const utimbuf long_ago{946684800, 946684800}; // 2000-01-01
    ASSERT_EQ(utime(stale.c_str(), &long_ago), 0);
    ASSERT_TRUE(fs::remove(folder + "/yeah.wav"));
    const Bytes own_sound(64, 7);
    ASSERT_TRUE(write_bytes(own, own_sound));

    // The second run starts with the volume the first one left, and one more Home adds to it.
    ASSERT_TRUE(restart_game_in_session(&session, setup, &problem)) << problem;
    EXPECT_TRUE(same_file(installed + "/nfobg.bmp", stale)) << "the old copy was not replaced";
    EXPECT_TRUE(same_file(installed + "/yeah.wav", folder + "/yeah.wav"))
        << "the missing file was not copied";
    EXPECT_EQ(read_bytes(own), own_sound) << "the player's newer file was replaced";
    ASSERT_TRUE(press(&session, "Home"));
    quit_and_expect_config(&session, folder, "94 00 00 00 80 00 00 00");
    const auto scores_again = read_bytes(folder + "/scores.dat");
    ASSERT_TRUE(scores_again);
    EXPECT_EQ(hex_bytes(*scores_again), hex_bytes(*scores)) << "scores.dat changed";
    std::cout << "[ install ] files copied into the player's folder, config.dat "
              << hex_bytes(*read_bytes(folder + "/config.dat"))
              << " after two runs with Home, scores.dat kept there, desktop entry and icon in place"
              << std::endl;
}

} // namespace
