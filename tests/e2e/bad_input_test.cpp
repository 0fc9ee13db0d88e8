// The game keeps running on bad files and a bad environment: damaged pictures show black,
// damaged sounds are silent, damaged or unreadable scores.dat and config.dat leave the built-in
// values for what they do not hold, and a directory that cannot be written to keeps the files
// it has. Each case starts the game, looks at it run, opens a side screen and leaves it, fires,
// quits with F12 and looks at the files; a line per case says what the game did.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <vector>

#include "tests/e2e/damage.h"
#include "tests/e2e/game_session.h"
#include "tests/e2e/score_table.h"
#include "tests/e2e/side_screens.h"
#include "tests/e2e/view_reading.h"

namespace {

namespace fs = std::filesystem;

enum class Place { work_dir, no_audio, unwritable_dir };

struct BadInputCase {
    std::string name;
    std::string file; // the file spoiled; "" for none
    Damage damage = Damage::missing;
    size_t size = 0; // for Damage::first and Damage::longer
    Place place = Place::work_dir;
};

void PrintTo(const BadInputCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<BadInputCase> bad_input_cases() {
    std::vector<BadInputCase> cases;
    const std::pair<const char*, Damage> asset_damages[] = {{"Missing", Damage::missing},
                                                            {"Empty", Damage::empty},
                                                            {"First100Bytes", Damage::first},
                                                            {"Half", Damage::half},
                                                            {"Garbage", Damage::garbage}};
    for (const std::string file : game_data_files) {
        // "f1bg.bmp" gives "F1bgBmp".
        std::string name = file;
        name[0] = static_cast<char>(std::toupper(name[0]));
        const size_t dot = name.find('.');
        name[dot + 1] = static_cast<char>(std::toupper(name[dot + 1]));
        name.erase(dot, 1);
        for (const auto& [damage_name, damage] : asset_damages)
            cases.push_back({name + damage_name, file, damage, 100});
    }
    const BadInputCase others[] = {
        {"ScoresEmpty", "scores.dat", Damage::empty},
        {"ScoresShort", "scores.dat", Damage::first, 30},
        {"ScoresLong", "scores.dat", Damage::longer, 20},
        {"ScoresGarbage", "scores.dat", Damage::garbage},
        {"ScoresUnreadable", "scores.dat", Damage::unreadable},
        {"ScoresDirectory", "scores.dat", Damage::directory},
        {"ConfigEmpty", "config.dat", Damage::empty},
        {"ConfigShort", "config.dat", Damage::first, 4},
        {"ConfigLong", "config.dat", Damage::longer, 12},
        {"ConfigGarbage", "config.dat", Damage::garbage},
        {"ConfigUnreadable", "config.dat", Damage::unreadable},
        {"ConfigDirectory", "config.dat", Damage::directory},
        {"ConfigDiskFull", "config.dat", Damage::disk_full},
        {"ScoresMissingDiskFull", "scores.dat", Damage::disk_full},
        {"WorkDirNotWritable", "", Damage::missing, 0, Place::unwritable_dir},
        {"WorkDirNotWritableScoresMissing", "scores.dat", Damage::missing, 0,
         Place::unwritable_dir},
        {"WorkDirNotWritableScoresUnreadable", "scores.dat", Damage::unreadable, 0,
         Place::unwritable_dir},
        {"NoAudioDevice", "", Damage::missing, 0, Place::no_audio},
    };
    cases.insert(cases.end(), std::begin(others), std::end(others));
    return cases;
}

// config.dat as the cases start it, before any damage: music 200 with sound 30.
const Bytes config_start{200, 0, 0, 0, 30, 0, 0, 0};

bool is_store(const std::string& file) {
    return file == "scores.dat" || file == "config.dat";
}

bool is_sound(const std::string& file) {
    return file.ends_with(".wav") || file.ends_with(".xm");
}

// Whether the case leaves the file without a whole, good picture or sound.
bool spoils(const BadInputCase& c, const std::string& file) {
    return c.file == file && c.damage != Damage::unreadable && c.damage != Damage::directory &&
           c.damage != Damage::longer;
}

// Missing, empty or random: nothing of it can be played. (Of a cut file, a part may be.)
bool unplayable(const BadInputCase& c, const std::string& file) {
    return c.file == file && (c.damage == Damage::missing || c.damage == Damage::empty ||
                              c.damage == Damage::garbage);
}

// What the game keeps of config.dat: each volume the file holds whole or in part replaces the
// bytes it reaches of 128, then both are clamped to 0..255 on the first tick.
std::string volumes_kept(const std::optional<Bytes>& read) {
    Bytes bytes{128, 0, 0, 0, 128, 0, 0, 0};
    for (size_t i = 0; read && i < bytes.size() && i < read->size(); ++i)
        bytes[i] = (*read)[i];
    for (size_t at : {0, 4}) {
        const int32_t v =
            static_cast<int32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                                 (static_cast<uint32_t>(bytes[at + 3]) << 24));
        bytes[at] = static_cast<uint8_t>(std::clamp(v, 0, 255));
        bytes[at + 1] = bytes[at + 2] = bytes[at + 3] = 0;
    }
    return hex_bytes(bytes);
}

// A file as the case leaves it, in words for the summary.
std::string file_state(const std::string& path, const std::optional<Bytes>& before) {
    std::error_code error;
    const auto status = fs::status(path, error);
    if (error || !fs::exists(status))
        return "absent";
    if (fs::is_directory(status))
        return "a directory";
    const auto bytes = read_bytes(path);
    if (!bytes)
        return "unreadable";
    const std::string size = std::to_string(bytes->size()) + " bytes";
    if (before && *before == *bytes)
        return size + ", unchanged";
    if (is_builtin_table(*bytes))
        return size + ", the built-in table";
    return bytes->size() <= 8 ? size + " " + hex_bytes(*bytes) : size;
}

// The sounds of a case, as SDL's disk audio driver writes what the game mixes: 16-bit stereo
// samples, at the pace of a real device. The loudest sample of a stretch.
int peak_in(const Bytes& output, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i + 1 < to && i + 1 < output.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int16_t>(output[i] | (output[i + 1] << 8))));
    return peak;
}

// Heard: louder than -36 dB. (Music at volume 0 still comes out at about -60 dB: the module
// player's quietest setting.)
constexpr int heard_peak = 500;

// The screens the cases look at: their text, and a part where only the picture behind shows,
// black when the picture could not be loaded, never black in the pictures the game comes with.
using ScreenCheck = std::string (*)(const Image&);
struct Backdrop {
    const char* file;
    const char* key; // that opens the screen
    ScreenCheck check;
    Rect plain;
};
const Backdrop game_view{"bg.bmp", "", game_view_problems, {220, 0, 400, 60}};
const Backdrop help{"f1bg.bmp", "F1", help_screen_problems, {0, 290, 400, 335}};
const Backdrop hiscores{"hiscbg.bmp", "F5", hiscore_screen_problems, {0, 230, 400, 400}};
const Backdrop about{"nfobg.bmp", "F7", about_screen_problems, {0, 262, 400, 302}};

// The record of one case, printed as one line when the case ends however it ends.
struct CaseReport {
    std::string what;
    std::vector<std::string> seen;
    ~CaseReport() {
        std::string line;
        for (const std::string& s : seen)
            line += (line.empty() ? "" : "; ") + s;
        std::cout << "[ bad input ] " << what << " | " << line << " | "
                  << (testing::Test::HasFailure() ? "FAIL" : "pass") << std::endl;
    }
};

// Presses the key (none at the start) and looks at the screen it shows: its text, and its
// picture or black behind it.
void look_at_screen(GameSession* session, const BadInputCase& c, const std::string& key,
                    const Backdrop& screen, ScreenCheck check, CaseReport* report, Image* view) {
    if (!key.empty()) {
        EXPECT_TRUE(press(session, key));
    }
    EXPECT_TRUE(wait_for_picture(session, Milliseconds(3000), view,
                                 [&](const Image& v) { return check(v).empty(); }))
        << "after " << (key.empty() ? "the start" : key) << " the screen shows:\n"
        << check(*view) << "see " << keep_picture(session, *view, "screen");
    if (view->rgb.empty())
        return;
    const Rect r = screen.plain;
    const double black = static_cast<double>(count_colour(*view, r, Rgb{0, 0, 0})) /
                         ((r.right - r.left) * (r.bottom - r.top));
    const std::string seen = std::string(screen.file) + (black > 0.9 ? " black" : " shown");
    if (std::find(report->seen.begin(), report->seen.end(), seen) == report->seen.end())
        report->seen.push_back(seen);
    if (spoils(c, screen.file)) {
        EXPECT_GT(black, 0.9) << "the picture behind did not go black without a good "
                              << screen.file << "; see "
                              << keep_picture(session, *view, "backdrop");
    } else {
        EXPECT_LT(black, 0.05) << screen.file << " is not shown; see "
                               << keep_picture(session, *view, "backdrop");
    }
}

// Before the shot only the music plays (when it can), after it the gun too; in the cases of
// gun.wav the music is off. What cannot be played is silent, what can is heard.
void check_sounds(const BadInputCase& c, const std::optional<Bytes>& output, size_t at_shot,
                  CaseReport* report) {
    ASSERT_TRUE(output) << "no sound output";
    // The shot's sound may reach the file a mixing buffer or two before the size was read.
    const size_t music_end = at_shot > 16384 ? at_shot - 16384 : 0;
    const int music_peak = peak_in(*output, 0, music_end);
    const int shot_peak = peak_in(*output, at_shot, output->size());
    const bool music = music_peak >= heard_peak, gun = shot_peak >= heard_peak;
    const bool gun_case = c.file == "gun.wav";
    report->seen.push_back(std::string("music ") + (music ? "heard" : "silent") + " (peak " +
                           std::to_string(music_peak) + (gun_case ? ", volume 0)" : ")"));
    if (gun_case || unplayable(c, "supera29.xm"))
        report->seen.push_back(std::string("gun ") + (gun ? "heard" : "silent") + " (peak " +
                               std::to_string(shot_peak) + ")");
    if (gun_case) {
        EXPECT_FALSE(music) << "music with its volume at 0";
        if (unplayable(c, "gun.wav")) {
            EXPECT_FALSE(gun) << "a sound after the shot without a playable gun.wav";
        }
    } else if (unplayable(c, "supera29.xm")) {
        EXPECT_FALSE(music) << "music without a playable supera29.xm";
        // Nothing else plays: the gun is heard alone, as it should.
        EXPECT_TRUE(gun) << "no gun sound after the shot";
    } else if (c.file != "supera29.xm") {
        EXPECT_TRUE(music) << "no music " << output->size() << " bytes into the output";
    }
}

class BadInput : public testing::TestWithParam<BadInputCase> {};

TEST_P(BadInput, TheGameRunsOnAndTheFilesAreAsExpected) {
    const BadInputCase& c = GetParam();
    const std::string& file = c.file;
    const bool unwritable = c.place == Place::unwritable_dir;
    CaseReport report;
    report.what = c.place == Place::no_audio ? "no audio device"
                  : file.empty()             ? "working directory read-only"
                                             : file + " " + describe(c.damage, c.size) +
                                       (unwritable ? ", directory read-only" : "");

    GameSetup setup;
    // Assets are spoiled with no stores in place; the stores start as good files, but for
    // scores.dat on a full disk, missing so that the game writes it at the start.
    if (is_store(file) || unwritable) {
        if (!(file == "scores.dat" && c.damage == Damage::disk_full))
            setup.scores = encode_scores(zero_table());
        setup.config = config_start;
    }
    setup.unprivileged = c.damage == Damage::unreadable || unwritable;
    if (c.place == Place::no_audio)
        setup.environment = {"SDL_AUDIODRIVER=no-such-driver"};
    // The sounds are heard through a file. Without music, what follows a shot is the gun alone.
    const std::string sound_file = "out.raw";
    if (is_sound(file))
        setup.environment = {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + sound_file};
    if (file == "gun.wav")
        setup.config = Bytes{0, 0, 0, 0, 128, 0, 0, 0};
    // The stores as the game finds them; the tests may read what the game cannot.
    std::optional<Bytes> scores_before, config_before;
    setup.prepare = [&](const std::string& dir, std::string* problem) {
        if (!file.empty() && !damage_file(dir + "/" + file, c.damage, c.size, problem))
            return false;
        scores_before = read_bytes(dir + "/scores.dat");
        if (!(file == "config.dat" && c.damage == Damage::unreadable))
            config_before = read_bytes(dir + "/config.dat");
        *problem = "cannot make " + dir + " read-only";
        return !unwritable || chmod(dir.c_str(), 0555) == 0;
    };
    if (setup.unprivileged)
        report.seen.push_back("run as uid " + std::to_string(game_user(setup)));

    GameSession session;
    const testing::AssertionResult started = start_game(&session, setup);
    report.seen.push_back(started ? "ran (windows, HUD)"
                                  : std::string("did not run: ") + started.message());
    ASSERT_TRUE(started) << "the game's output:\n" << game_log(session);

    // The game view, then one side screen: the one a spoiled picture is behind, the hi-score
    // screen for scores.dat, the help otherwise; then back to the game.
    Image view;
    look_at_screen(&session, c, "", game_view, game_view_problems, &report, &view);
    if (file == "hiscbg.bmp" || file == "scores.dat") {
        // A table of random bytes shows random rows.
        const bool table_readable = !(file == "scores.dat" && c.damage == Damage::garbage);
        look_at_screen(&session, c, "F5", hiscores,
                       table_readable ? hiscore_screen_problems : hiscore_headings_problems,
                       &report, &view);
        report.seen.push_back(table_readable ? "hi-score table shown" : "hi-score headings shown");
    } else {
        const Backdrop& screen = file == "nfobg.bmp" ? about : help;
        look_at_screen(&session, c, screen.key, screen, screen.check, &report, &view);
    }
    look_at_screen(&session, c, "Escape", game_view, game_view_problems, &report, &view);

    // A shot: the gun sound, good or bad, must not hold the game up; the HUD counts the shot.
    const Extent accuracy_before = hud_value(view, 1);
    std::error_code error;
    const size_t sound_before_shot = fs::file_size(work_file(session, sound_file), error);
    EXPECT_TRUE(fire(&session));
    const bool counted = wait_for_picture(&session, Milliseconds(3000), &view, [&](const Image& v) {
        const Extent accuracy = hud_value(v, 1);
        return accuracy.count > 0 && accuracy.right <= accuracy_before.right - 8;
    });
    report.seen.push_back(counted ? "shot counted" : "shot not counted");
    EXPECT_TRUE(counted) << "the HUD's accuracy did not drop after a shot; see "
                         << keep_picture(&session, view, "accuracy");
    if (unwritable || (file == "config.dat" && c.damage == Damage::disk_full)) {
        EXPECT_TRUE(press(&session, "Home")); // a change of volume that cannot be saved
    }
    const testing::AssertionResult ended = quit_game(&session);
    report.seen.push_back(ended.message());
    EXPECT_TRUE(ended);

    const std::string scores_path = work_file(session, "scores.dat");
    const std::string config_path = work_file(session, "config.dat");
    report.seen.push_back("scores.dat " + file_state(scores_path, scores_before));
    report.seen.push_back("config.dat " + file_state(config_path, config_before));
    if (is_sound(file))
        check_sounds(c, read_bytes(work_file(session, sound_file)), sound_before_shot, &report);
    if (unwritable || c.damage == Damage::disk_full) {
        // Nothing can be written: what was there stays as it was, to the byte and the mode.
        if (scores_before) {
            EXPECT_EQ(file_hex(scores_path), hex_bytes(*scores_before));
        } else {
            EXPECT_FALSE(file_exists(scores_path)) << "scores.dat was written";
        }
        if (c.damage == Damage::unreadable) {
            EXPECT_EQ(fs::status(scores_path, error).permissions(), fs::perms::none);
        }
        EXPECT_EQ(file_hex(config_path), hex_bytes(config_start));
    } else {
        const auto scores_after = read_bytes(scores_path);
        if (file == "scores.dat" && c.damage == Damage::directory) {
            EXPECT_TRUE(fs::is_directory(scores_path, error));
        } else if ((file == "scores.dat" && c.damage == Damage::unreadable) || !setup.scores) {
            // Missing or unreadable at start-up: written anew with the built-in table.
            EXPECT_TRUE(scores_after && is_builtin_table(*scores_after))
                << "scores.dat: " << file_hex(scores_path);
        } else {
            ASSERT_TRUE(scores_before);
            EXPECT_EQ(file_hex(scores_path), hex_bytes(*scores_before)) << "scores.dat was changed";
        }
        if (file == "config.dat" && c.damage == Damage::directory) {
            EXPECT_TRUE(fs::is_directory(config_path, error));
        } else {
            EXPECT_EQ(file_hex(config_path), volumes_kept(config_before));
        }
    }
    EXPECT_FALSE(file_exists(scores_path + ".new")) << "scores.dat.new was left behind";
    EXPECT_FALSE(file_exists(config_path + ".new")) << "config.dat.new was left behind";
}

INSTANTIATE_TEST_SUITE_P(Cases, BadInput, testing::ValuesIn(bad_input_cases()),
                         [](const testing::TestParamInfo<BadInputCase>& info) {
                             return info.param.name;
                         });

} // namespace
