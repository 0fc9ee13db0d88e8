// scores.dat and config.dat against what players' folders hold: permissions, links, FIFOs,
// leftover temporary names, a folder that takes no new file, and a second copy of the game.
// Run as an ordinary player (root's writes ignore permissions), one folder per case.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

#include "audio/sound.h"
#include "store/config.h"
#include "store/folder_lock.h"
#include "store/hiscores.h"
#include "tests/unit/unit_support.h"

namespace {

const Bytes theirs(100, 'r'); // a player's own table
const Bytes volumes{1, 0, 0, 0, 2, 0, 0, 0};

mode_t mode_of(const char* path) {
    struct stat info {};
    return lstat(path, &info) == 0 ? info.st_mode : 0;
}

struct Case {
    const char* name;
    int lines_said; // on stderr, after the case ran twice
    std::function<void()> setup, run, check;
};

const Case cases[] = {
    {"an unreadable scores.dat is kept, and the built-in table plays", 2,
     [] { write_bytes("scores.dat", theirs), chmod("scores.dat", 0); },
     [] { load_hiscores(), hiscores[4].points = 5, save_hiscores(); },
     [] {
         EXPECT_EQ(hiscores[0].points, 10000u);
         chmod("scores.dat", 0600);
         EXPECT_EQ(read_bytes("scores.dat"), theirs);
     }},
    {"write-protected files are left alone", 2,
     [] {
         write_bytes("scores.dat", theirs), write_bytes("config.dat", volumes);
         chmod("scores.dat", 0444), chmod("config.dat", 0444);
     },
     [] { load_hiscores(), hiscores[0].level = 9, save_hiscores(), save_config(); },
     [] {
         EXPECT_EQ(read_bytes("scores.dat"), theirs);
         EXPECT_EQ(read_bytes("config.dat"), volumes);
         EXPECT_EQ(mode_of("config.dat") & 0777, 0444u);
     }},
    {"a private file stays private, a hard link stays linked", 0,
     [] {
         write_bytes("config.dat", volumes), chmod("config.dat", 0600);
         EXPECT_EQ(link("config.dat", "also.dat"), 0);
         write_bytes("scores.dat", theirs), chmod("scores.dat", 0640);
     },
     [] { save_config(), save_hiscores(); },
     [] {
         EXPECT_EQ(mode_of("config.dat") & 0777, 0600u);
         EXPECT_EQ(mode_of("scores.dat") & 0777, 0640u);
         EXPECT_EQ(read_bytes("also.dat"), Bytes({128, 0, 0, 0, 128, 0, 0, 0}));
     }},
    {"a linked config.dat is saved through to its target", 0,
     [] {
         mkdir("elsewhere", 0700), write_bytes("elsewhere/mine.dat", volumes);
         EXPECT_EQ(symlink("elsewhere/mine.dat", "config.dat"), 0);
     },
     [] { load_config(), music_volume = 7, save_config(); },
     [] {
         EXPECT_TRUE(S_ISLNK(mode_of("config.dat")));
         EXPECT_EQ(read_bytes("elsewhere/mine.dat"), Bytes({7, 0, 0, 0, 2, 0, 0, 0}));
     }},
    {"a writable config.dat in a folder that takes no new file is rewritten in place", 0,
     [] { write_bytes("config.dat", volumes), chmod(".", 0555); }, [] { save_config(); },
     [] {
         chmod(".", 0755);
         EXPECT_EQ(read_bytes("config.dat"), Bytes({128, 0, 0, 0, 128, 0, 0, 0}));
     }},
    {"old temporary names, links or folders, are never followed or in the way", 0,
     [] {
         write_bytes("other.dat", volumes);
         EXPECT_EQ(symlink("other.dat", "scores.dat.new"), 0);
         mkdir("config.dat.new", 0700);
     },
     [] { load_hiscores(), save_config(); },
     [] {
         EXPECT_EQ(read_bytes("other.dat"), volumes);
         EXPECT_EQ(read_bytes("scores.dat").size(), 100u);
         EXPECT_EQ(read_bytes("config.dat").size(), 8u);
     }},
    {"a dangling old temporary link makes no file elsewhere", 0,
     [] { EXPECT_EQ(symlink("nowhere.dat", "config.dat.new"), 0); }, [] { save_config(); },
     [] { EXPECT_EQ(access("nowhere.dat", F_OK), -1); }},
    {"FIFOs are neither waited on nor replaced", 3,
     [] { mkfifo("scores.dat", 0600), mkfifo("config.dat", 0600); },
     [] { load_hiscores(), load_config(), save_hiscores(), save_config(); },
     [] {
         EXPECT_TRUE(S_ISFIFO(mode_of("scores.dat")) && S_ISFIFO(mode_of("config.dat")));
         EXPECT_EQ(music_volume, 128);
     }},
    {"a second copy of the game in the folder is refused", 0, [] { EXPECT_TRUE(claim_folder()); },
     [] {}, [] { EXPECT_FALSE(claim_folder()); }},
};

TEST(Store, KeepsWhatThePlayerOwns) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshGame fresh;
        const bool root = geteuid() == 0;
        if (root) {
            ASSERT_EQ(chown(".", 65534, 65534), 0);
            ASSERT_EQ(setegid(65534), 0);
            ASSERT_EQ(seteuid(65534), 0);
        }
        c.setup();
        testing::internal::CaptureStderr();
        c.run();
        c.run(); // a refusal is said once
        const std::string said = testing::internal::GetCapturedStderr();
        c.check();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.lines_said) << said;
        if (root) {
            ASSERT_EQ(seteuid(0), 0);
            ASSERT_EQ(setegid(0), 0);
        }
    }
}

} // namespace
