// scores.dat and config.dat against what players' folders hold: permissions, links, FIFOs,
// leftover temporary names, a second copy of the game, and saves killed at every step.
// Run as an ordinary player (root's writes ignore permissions), one folder per case.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>

#include "app/new_game.h"
#include "app/replay_watch.h"
#include "app/shutdown.h"
#include "app/startup.h"
#include "audio/sound.h"
#include "game/entities.h"
#include "game/scoring.h"
#include "store/config.h"
#include "store/folder_lock.h"
#include "store/hiscores.h"
#include "store/kept_replays.h"
#include "store/replay_file.h"
#include "store/whole_file.h"
#include "tests/fake/fake_platform.h"
#include "tests/unit/journey.h"
#include "tests/unit/unit_support.h"
#include "world/state.h"

namespace fs = std::filesystem;

namespace {

const Bytes theirs(100, 'r');                 // a player's own table
const Bytes game(5000, 'g');                  // a recorded game
const rlimit a_full_disk{200, RLIM_INFINITY}; // files stop growing at 200 bytes
const Bytes volumes{1, 0, 0, 0, 2, 0, 0, 0};
Volumes playing; // as the game plays them: 128 and 128 until config.dat says otherwise

bool no_locks; // flock answers as on a filesystem without locks (NFS without lockd)

std::string rank_file(int32_t row) {
    return "rank" + std::to_string(row + 1) + ".zrp";
}

// The game that made row `row` of the built-in table.
Bytes game_of_builtin_row(int32_t row) {
    Bytes table(hiscores_file_size);
    const auto in_play = hiscores;
    hiscores = builtin_hiscores;
    encode_hiscores(table.data());
    hiscores = in_play;
    return game_that_made_row(table, row);
}

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
    {"unreadable files are kept, and the built-in table and volumes play", 4,
     [] {
         write_bytes("scores.dat", theirs);
         chmod("scores.dat", 0);
         write_bytes("config.dat", volumes);
         chmod("config.dat", 0200);
     },
     [] {
         load_hiscores();
         load_config(&playing);
         hiscores[4].points = 5;
         save_hiscores();
         save_config(playing);
     },
     [] {
         EXPECT_EQ(hiscores[0].points, builtin_hiscores[0].points);
         EXPECT_EQ(playing.music, 128);
         chmod("scores.dat", 0600);
         chmod("config.dat", 0600);
         EXPECT_EQ(read_bytes("scores.dat"), theirs);
         EXPECT_EQ(read_bytes("config.dat"), volumes);
     }},
    {"write-protected files are left alone", 2,
     [] {
         write_bytes("scores.dat", theirs);
         write_bytes("config.dat", volumes);
         chmod("scores.dat", 0444);
         chmod("config.dat", 0444);
     },
     [] {
         load_hiscores();
         hiscores[0].level = 9;
         save_hiscores();
         save_config(playing);
     },
     [] {
         EXPECT_EQ(read_bytes("scores.dat"), theirs);
         EXPECT_EQ(read_bytes("config.dat"), volumes);
         EXPECT_EQ(mode_of("config.dat") & 0777, 0444u);
     }},
    {"a linked config.dat is saved through to its target", 0,
     [] {
         mkdir("elsewhere", 0700);
         write_bytes("elsewhere/mine.dat", volumes);
         EXPECT_EQ(symlink("elsewhere/mine.dat", "config.dat"), 0);
     },
     [] {
         load_config(&playing);
         save_config({7, playing.sound});
     },
     [] {
         EXPECT_TRUE(S_ISLNK(mode_of("config.dat")));
         EXPECT_EQ(read_bytes("elsewhere/mine.dat"), Bytes({7, 0, 0, 0, 2, 0, 0, 0}));
     }},
    {"links or folders at the temporary names are never followed, removed or in the way", 0,
     [] {
         write_bytes("other.dat", volumes);
         EXPECT_EQ(symlink("other.dat", "scores.dat.saving"), 0);
         EXPECT_EQ(symlink("nowhere.dat", "config.dat.saving"), 0);
         claim_folder();
     },
     [] {
         load_hiscores();
         save_hiscores();
         save_config(playing);
     },
     [] {
         EXPECT_EQ(read_bytes("other.dat"), volumes);
         EXPECT_EQ(access("nowhere.dat", F_OK), -1);
         EXPECT_TRUE(S_ISLNK(mode_of("scores.dat.saving")));
         EXPECT_TRUE(S_ISLNK(mode_of("config.dat.saving")));
         EXPECT_EQ(read_bytes("scores.dat").size(), 100u);
         EXPECT_EQ(read_bytes("config.dat").size(), 8u);
     }},
    {"FIFOs are neither waited on nor replaced", 4,
     [] { mkfifo("scores.dat", 0600), mkfifo("config.dat", 0600); },
     [] {
         load_hiscores();
         load_config(&playing);
         save_hiscores();
         save_config(playing);
     },
     [] {
         EXPECT_TRUE(S_ISFIFO(mode_of("scores.dat")));
         EXPECT_TRUE(S_ISFIFO(mode_of("config.dat")));
         EXPECT_EQ(playing.music, 128);
     }},
    {"a second copy is refused, in a folder the player may list or not, or only search", 0,
     [] { write_bytes("scores.dat", theirs); }, [] {},
     [] {
         for (mode_t mode : {0100, 0300, 0700}) { // saves in place, through a new file, either
             chmod(".", mode);
             EXPECT_TRUE(claim_folder()) << mode;
             save_hiscores();
             EXPECT_FALSE(claim_folder()) << mode;
         }
     }},
    {"a row being named is saved when a new game starts, and when the game ends", 0, [] {}, [] {},
     [] {
         init_game();
         for (void (*end)() : {new_game, shut_down}) {
             points = end == shut_down ? 30000 : 20000;
             insert_hiscore();
             std::strcpy(hiscores[0].name, "Ann");
             end();
             const Bytes saved = read_bytes("scores.dat");
             EXPECT_EQ(std::memcmp(saved.data(), "Ann", 4), 0);
             EXPECT_EQ(saved[16] | saved[17] << 8, end == shut_down ? 30000 : 20000);
         }
     }},
    {"the display lost while the game ends: the ending goes on from there, each step once", 0,
     [] {}, [] {},
     [] {
         init_game();
         music_volume = 100;
         fake::state().on_destroy_window = shut_down;
         shut_down();
         EXPECT_EQ(read_bytes("config.dat")[0], 100);
         const auto& log = fake::state().log;
         EXPECT_EQ(std::count(log.begin(), log.end(), "exit 0"), 1);
     }},
    {"a disk too full for replays costs the replays alone, said once", 1,
     [] { std::signal(SIGXFSZ, SIG_IGN), setrlimit(RLIMIT_FSIZE, &a_full_disk); },
     [] {
         keep_last_replay(game);
         keep_ranked_replay(0, game);
         save_hiscores();
         save_config(playing);
     },
     [] {
         const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
         setrlimit(RLIMIT_FSIZE, &none);
         EXPECT_EQ(read_bytes("scores.dat").size(), 100u);
         EXPECT_EQ(read_bytes("config.dat").size(), 8u);
         EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 2); // nor a temporary file
     }},
    {"a table of two names that cannot grow past a limit is put back as it was, said once", 1,
     [] {
         write_bytes("scores.dat", theirs);
         fs::create_hard_link("scores.dat", "also.dat");
     },
     [] {
         const rlimit ninety_bytes{90, RLIM_INFINITY}, none{RLIM_INFINITY, RLIM_INFINITY};
         std::signal(SIGXFSZ, SIG_IGN);
         setrlimit(RLIMIT_FSIZE, &ninety_bytes);
         save_hiscores();
         setrlimit(RLIMIT_FSIZE, &none);
     },
     [] {
         EXPECT_EQ(read_bytes("scores.dat"), theirs);
         EXPECT_EQ(read_bytes("also.dat"), theirs);
     }},
    {"a folder without locks is said at each start, the game plays on, and what saves cut short "
     "left there a while ago is cleaned up",
     2,
     [] {
         no_locks = true;
         for (const char* left :
              {"config.dat.saving-Ab12Cd", "rank2.zrp.saving", "last.zrp.saving-x"})
             write_bytes(left, volumes);
         fs::last_write_time("config.dat.saving-Ab12Cd",
                             fs::file_time_type::clock::now() - std::chrono::minutes(2));
         write_bytes("scores.dat.saving-Xy34Zw", volumes); // maybe another copy's, saving now
     },
     [] { EXPECT_TRUE(claim_folder()); },
     [] {
         no_locks = false;
         EXPECT_FALSE(fs::exists("config.dat.saving-Ab12Cd"));
         EXPECT_TRUE(fs::exists("scores.dat.saving-Xy34Zw"));
         EXPECT_TRUE(fs::exists("rank2.zrp.saving"));
         EXPECT_TRUE(fs::exists("last.zrp.saving-x")); // not the game's pattern
     }},
    {"a start that holds the folder cleans up every temporary of the game's own", 0,
     [] {
         for (const char* left :
              {"config.dat.saving-Ab12Cd", "rank2.zrp.saving", "scores.dat.saving-Xy34Zw",
               "notes.txt.saving", "scores.dat.old.saving"})
             write_bytes(left, volumes);
     },
     [] { claim_folder(); },
     [] {
         EXPECT_TRUE(fs::exists("scores.dat.old.saving")); // the player's, of a name like ours
         EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 2);
         EXPECT_TRUE(fs::exists("notes.txt.saving")); // not the game's
     }},
    {"the rows' games follow the table on the disk: moved with their rows, or removed", 2,
     [] {
         for (int32_t row = 0; row < hiscore_count; ++row)
             write_bytes(rank_file(row), game_of_builtin_row(row));
         write_bytes("rank1.zrp", Bytes(9, 'x')); // no replay
         write_bytes("rank6.zrp", game);
         // A new second row, the rows below moved down one, the last changed: in this table
         // the first three built-in rows' games are those of rows 3 to 5.
         std::rotate(hiscores.begin() + 1, hiscores.end() - 1, hiscores.end());
         hiscores[1].points = 7;
         save_hiscores();
     },
     [] { // as the game starts and ends
         init_game();
         shut_down();
     },
     [] {
         EXPECT_FALSE(fs::exists("rank1.zrp")); // no replay
         EXPECT_FALSE(fs::exists("rank2.zrp")); // the new row, whose game is kept after
         for (int32_t row = 2; row < hiscore_count; ++row)
             EXPECT_EQ(read_bytes(rank_file(row)), game_of_builtin_row(row - 1)) << row;
         EXPECT_EQ(read_bytes("rank6.zrp"), game); // not the game's to touch
     }},
};

} // namespace

// The game's locks go through here.
extern "C" int flock(int fd, int operation) noexcept {
    if (no_locks) {
        errno = ENOLCK;
        return -1;
    }
    return static_cast<int>(syscall(SYS_flock, fd, operation));
}

namespace {

TEST(Store, KeepsWhatThePlayerOwns) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FreshGame fresh;
        playing = {128, 128};
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

int kill_at_step;

// Runs f in a process of its own, as an ordinary player; how that process ended.
int in_child(const std::function<void()>& f) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        f();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

const Bytes old_volumes{1, 0, 0, 0, 2, 0, 0, 0, 9, 9, 9, 9}; // longer than a save writes
const Bytes new_volumes{128, 0, 0, 0, 128, 0, 0, 0};
const rlimit four_bytes{4, 4};

struct SavePath {
    const char* name;
    void (*prepare)(); // in the saving process, which holds the folder, before the save
    bool saves;        // whether the save, left to its end, writes the new volumes
};

const SavePath save_paths[] = {
    {"through a new file and a rename", [] {}, true},
    {"in place, keeping a hard link", [] { fs::create_hard_link("config.dat", "also.dat"); }, true},
    {"in place, in a folder that takes no new file", [] { chmod(".", 0555); }, true},
    {"cut short by the file size limit",
     [] { std::signal(SIGXFSZ, SIG_IGN), setrlimit(RLIMIT_FSIZE, &four_bytes); }, false},
};

// Each way a save goes, killed after each of its steps and left to its end: config.dat reads as
// the old volumes or the new ones (an in-place rewrite may hold old bytes past the new length
// for a moment, which the game does not read), keeps its mode and its other name, a save that
// ended holds exactly what it should, and the next start leaves no temporary file behind. A
// save's last step is where it lands: killed after it, nothing of the save is lost.
TEST(Store, EverySaveIsWholeUnderKills) {
    FreshGame fresh;
    ASSERT_TRUE(geteuid() != 0 || chown(".", 65534, 65534) == 0);
    for (const SavePath& path : save_paths) {
        Bytes after_the_last_kill;
        for (kill_at_step = 1; kill_at_step <= 7; ++kill_at_step) {
            SCOPED_TRACE(path.name + std::string(", killed after ") + std::to_string(kill_at_step));
            const int status = in_child([&] {
                write_bytes("config.dat", old_volumes);
                chmod("config.dat", 0640);
                claim_folder();
                path.prepare();
                watch_save_steps([](int step) {
                    if (step == kill_at_step)
                        std::raise(SIGKILL);
                });
                save_config({128, 128});
            });
            const Bytes kept = read_bytes("config.dat");
            const Bytes read(kept.begin(), kept.begin() + std::min<size_t>(kept.size(), 8));
            EXPECT_TRUE(WIFSIGNALED(status) ? read == new_volumes || kept == old_volumes
                                            : kept == (path.saves ? new_volumes : old_volumes));
            EXPECT_EQ(fs::exists("also.dat") ? read_bytes("also.dat") : kept, kept);
            if (WIFSIGNALED(status))
                after_the_last_kill = kept;
            EXPECT_EQ(mode_of("config.dat") & 0777, 0640u); // a private file stays private
            const auto others = [] { // files in the folder besides config.dat and its link
                return std::distance(fs::directory_iterator("."), {}) - 1 - fs::exists("also.dat");
            };
            EXPECT_EQ(WIFSIGNALED(status) ? 0 : others(), 0); // a save cleans up after itself
            in_child([] { claim_folder(); });
            EXPECT_EQ(others(), 0); // and the next start after a kill
            chmod(".", 0755);
            for (const auto& entry : fs::directory_iterator("."))
                fs::remove(entry);
        }
        EXPECT_EQ(after_the_last_kill, path.saves ? new_volumes : old_volumes) << path.name;
    }
}

// A file that tells no size, or grows as it is read, is read to its end and no further than
// its bound (the system's files tell their size as none).
TEST(Store, FilesGrowingAsTheyAreReadStopAtTheirBound) {
    Bytes bytes;
    EXPECT_EQ(read_whole_file("/proc/self/maps", 1 << 20, &bytes).state, FileState::read);
    EXPECT_GT(bytes.size(), 100u);
    const FileRead bounded = read_whole_file("/proc/self/maps", 100, &bytes);
    EXPECT_EQ(bounded.state, FileState::unreadable);
    EXPECT_EQ(bounded.error, EFBIG);
    EXPECT_TRUE(bytes.empty());
}

// The save of a row as its name is entered (the table, the games of the rows below moving down,
// the row's own game), killed after each of its steps, then the game started again: scores.dat
// holds the old table or the new, and each rankN.zrp left is the game of row N of it; the row's
// own game, replayed, makes that row again.
TEST(Store, TheTableAndItsGamesStayOneUnderKills) {
    FreshGame fresh;
    ASSERT_TRUE(geteuid() != 0 || chown(".", 65534, 65534) == 0);
    const uint32_t table_points[] = {900, 160, 150, 100, 10}; // two hits make the second row
    for (int32_t row = 0; row < hiscore_count; ++row)
        hiscores[row].points = table_points[row];
    Bytes old_table(hiscores_file_size);
    encode_hiscores(old_table.data());
    const auto row_of = [](const Bytes& table, int32_t row) {
        return Bytes(table.begin() + 20 * row, table.begin() + 20 * (row + 1));
    };
    bool whole_sequence = false;
    for (kill_at_step = 1; !whole_sequence && kill_at_step < 40; ++kill_at_step) {
        SCOPED_TRACE("killed after step " + std::to_string(kill_at_step));
        for (const auto& entry : fs::directory_iterator("."))
            fs::remove(entry);
        const int status = in_child([&] {
            write_bytes("scores.dat", old_table);
            for (int32_t row = 0; row < hiscore_count; ++row)
                write_bytes(rank_file(row), game_that_made_row(old_table, row));
            claim_folder();
            Journey j;
            j.post(MessageKind::activate_app, 1);
            fire_until_hits(j, 2);
            play_until_over(j);
            watch_save_steps([](int step) {
                if (step == kill_at_step)
                    std::raise(SIGKILL);
            });
            j.keys("+a|-a|+=|-=|");
            _exit(new_rank == 1 && !entering_name ? 0 : 4);
        });
        ASSERT_TRUE(WIFSIGNALED(status) || WEXITSTATUS(status) == 0) << status;
        whole_sequence = !WIFSIGNALED(status);
        in_child([] {
            claim_folder();
            load_hiscores();
            match_ranked_replays();
        });
        const Bytes table = read_bytes("scores.dat");
        const bool named = table.size() == 100 && table[20] == 'a';
        EXPECT_TRUE(table == old_table || named);
        for (int32_t row = 0; row < hiscore_count; ++row) {
            Replay kept;
            std::string why;
            if (!fs::exists(rank_file(row)))
                continue;
            ASSERT_TRUE(read_replay_file(rank_file(row).c_str(), &kept, &why)) << why;
            const Bytes start(kept.start.table, kept.start.table + 100);
            const Bytes end(kept.end.table, kept.end.table + 100);
            int32_t made = 0;
            while (made < hiscore_count && row_of(start, made) == row_of(end, made))
                ++made;
            EXPECT_EQ(row_of(end, made), row_of(table, row)) << rank_file(row);
            if (row == 1 && named) { // the new row's game, played again
                FreshGame watching;
                testing::internal::CaptureStdout();
                EXPECT_EQ(watch_replay(kept, true), 0);
                EXPECT_NE(testing::internal::GetCapturedStdout().find("row 2 \"a\""),
                          std::string::npos);
            }
        }
    }
    EXPECT_TRUE(whole_sequence) << "the save never ran to its end";
}

} // namespace
