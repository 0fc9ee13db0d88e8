// The game keeps running on bad files and a bad environment: damaged pictures show black,
// damaged sounds are silent, damaged or unreadable scores.dat and config.dat leave the built-in
// values for what they do not hold, and a directory that cannot be written to keeps the files
// it has. Each case starts the game, looks at it run, opens a side screen and leaves it, fires,
// quits with F12 and looks at the files; a line per case says what the game did.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "tests/e2e/damage.h"
#include "tests/e2e/game_session.h"
#include "tests/e2e/game_states.h"
#include "tests/e2e/reaching_states.h"
#include "tests/e2e/score_table.h"
#include "tests/e2e/side_screens.h"
#include "tests/e2e/view_reading.h"
#include "tests/e2e/watching.h"

namespace {

namespace fs = std::filesystem;

enum class Place { work_dir, no_audio, unwritable_dir };

struct BadInputCase {
    std::string name;
    const char* file; // the file spoiled; "" for none
    Damage damage = Damage::missing;
    size_t size = 0; // for Damage::first and Damage::longer
    Place place = Place::work_dir;
};

std::vector<BadInputCase> bad_input_cases() {
    std::vector<BadInputCase> cases;
    const struct {
        const char* name;
        const char* file;
    } assets[] = {{"BgBmp", "bg.bmp"},         {"F1bgBmp", "f1bg.bmp"},
                  {"HiscbgBmp", "hiscbg.bmp"}, {"NfobgBmp", "nfobg.bmp"},
                  {"GunWav", "gun.wav"},       {"ExplodeWav", "explode.wav"},
                  {"YeahWav", "yeah.wav"},     {"Supera29Xm", "supera29.xm"}};
    const struct {
        const char* name;
        Damage damage;
        size_t size;
    } asset_damages[] = {{"Missing", Damage::missing, 0},
                         {"Empty", Damage::empty, 0},
                         {"First100Bytes", Damage::first, 100},
                         {"Half", Damage::half, 0},
                         {"Garbage", Damage::garbage, 0}};
    for (const auto& asset : assets)
        for (const auto& damage : asset_damages)
            cases.push_back(
                {std::string(asset.name) + damage.name, asset.file, damage.damage, damage.size});
    const BadInputCase files[] = {
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
    cases.insert(cases.end(), std::begin(files), std::end(files));
    return cases;
}

void PrintTo(const BadInputCase& c, std::ostream* out) {
    *out << c.name;
}

// scores.dat and config.dat as the cases start them, before any damage: a table of 0-point
// rows, and music 200 with sound 30.
const Bytes config_start{200, 0, 0, 0, 30, 0, 0, 0};

bool is_store(const std::string& file) {
    return file == "scores.dat" || file == "config.dat";
}

// Whether the case leaves the file without a whole, good picture or sound.
bool spoils(const BadInputCase& c, const std::string& file) {
    return c.file == file && c.damage != Damage::unreadable && c.damage != Damage::directory &&
           c.damage != Damage::longer;
}

// What the game keeps of config.dat: each volume the file holds whole or in part replaces the
// bytes it reaches of 128, then both are clamped to 0..255 on the first tick.
std::string volumes_kept(const std::optional<Bytes>& read) {
    Bytes bytes{128, 0, 0, 0, 128, 0, 0, 0};
    if (read)
        for (size_t i = 0; i < bytes.size() && i < read->size(); ++i)
            bytes[i] = (*read)[i];
    for (size_t at : {0, 4}) {
        int32_t v = static_cast<int32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                                         (static_cast<uint32_t>(bytes[at + 3]) << 24));
        v = v < 0 ? 0 : v > 255 ? 255 : v;
        bytes[at] = static_cast<uint8_t>(v);
        bytes[at + 1] = bytes[at + 2] = bytes[at + 3] = 0;
    }
    return hex_bytes(bytes);
}

bool is_builtin_table(const Bytes& bytes) {
    ScoreTable table;
    if (!decode_scores(bytes, &table))
        return false;
    const char* names[5] = {"Tibbo", "Rinka", "Gorvin", "Pelly", "Dusko"};
    for (int i = 0; i < 5; ++i)
        if (table[i].name != names[i])
            return false;
    return table[0].points == 10000;
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
    std::string text = std::to_string(bytes->size()) + " bytes";
    if (before && *before == *bytes)
        text += ", unchanged";
    else if (is_builtin_table(*bytes))
        text += ", the built-in table";
    else if (bytes->size() <= 8)
        text += " " + hex_bytes(*bytes);
    return text;
}

// The sounds of a case, as SDL's disk audio driver writes what the game mixes: 16-bit stereo
// samples, at the pace of a real device. The loudest sample of a stretch.
int peak_in(const Bytes& output, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from; i + 1 < to && i + 1 < output.size(); i += 2) {
        const int sample = static_cast<int16_t>(output[i] | (output[i + 1] << 8));
        peak = std::max(peak, sample < 0 ? -sample : sample);
    }
    return peak;
}

// Heard: louder than -36 dB. (Music at volume 0 still comes out at about -60 dB: the module
// player's quietest setting.)
constexpr int heard_peak = 500;

bool is_sound(const std::string& file) {
    return file.ends_with(".wav") || file.ends_with(".xm");
}

// Missing, empty or random: nothing of it can be played. (Of a cut file, a part may be.)
bool unplayable(const BadInputCase& c, const std::string& file) {
    return c.file == file && (c.damage == Damage::missing || c.damage == Damage::empty ||
                              c.damage == Damage::garbage);
}

// Parts of a side screen or the game view where only the picture behind shows: black when the
// picture could not be loaded, never black in the pictures the game comes with.
struct Backdrop {
    const char* file;
    SideScreen screen;
    Rect plain;
};
const Backdrop backdrops[] = {
    {"bg.bmp", SideScreen::none, {220, 0, 400, 60}},
    {"f1bg.bmp", SideScreen::help, {0, 290, 400, 335}},
    {"hiscbg.bmp", SideScreen::hiscores, {0, 230, 400, 400}},
    {"nfobg.bmp", SideScreen::about, {0, 262, 400, 302}},
};

double black_share(const Image& view, Rect rect) {
    const int area = (rect.right - rect.left) * (rect.bottom - rect.top);
    return static_cast<double>(count_colour(view, rect, Rgb{0, 0, 0})) / area;
}

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

class BadInput : public testing::TestWithParam<BadInputCase> {};

using ScreenCheck = std::string (*)(const Image&);

// Presses the key (none for the game view) and looks at the screen it shows: its text, and
// its picture or black behind it.
void look_at_screen(GameSession* session, const BadInputCase& c, const std::string& key,
                    SideScreen screen, ScreenCheck check, CaseReport* report, Image* view) {
    if (!key.empty()) {
        EXPECT_TRUE(press(session, key));
    }
    const bool shown = wait_for_picture(session, Milliseconds(3000), view,
                                        [&](const Image& v) { return check(v).empty(); });
    EXPECT_TRUE(shown) << "after " << (key.empty() ? "the start" : key) << " the screen shows:\n"
                       << check(*view) << "see " << keep_picture(session, *view, "screen");
    if (view->rgb.empty())
        return;
    for (const Backdrop& b : backdrops) {
        if (b.screen != screen)
            continue;
        const double black = black_share(*view, b.plain);
        const std::string seen = std::string(b.file) + (black > 0.9 ? " black" : " shown");
        if (std::find(report->seen.begin(), report->seen.end(), seen) == report->seen.end())
            report->seen.push_back(seen);
        if (spoils(c, b.file)) {
            EXPECT_GT(black, 0.9) << "the picture behind did not go black without a good " << b.file
                                  << "; see " << keep_picture(session, *view, "backdrop");
        } else {
            EXPECT_LT(black, 0.05)
                << b.file << " is not shown; see " << keep_picture(session, *view, "backdrop");
        }
    }
}

// Before the shot only the music plays (when it can), after it the gun too; in the cases of
// gun.wav the music is off. What cannot be played is silent, what can is heard.
void check_sounds(const BadInputCase& c, const std::optional<Bytes>& output, size_t at_shot,
                  CaseReport* report) {
    ASSERT_TRUE(output) << "no sound output";
    // The shot's sound may reach the file a mixing buffer or two before the size was read.
    constexpr size_t buffers = 16384;
    const size_t music_end = at_shot > buffers ? at_shot - buffers : 0;
    const int music_peak = peak_in(*output, 0, music_end);
    const int shot_peak = peak_in(*output, at_shot, output->size());
    const bool music = music_peak >= heard_peak;
    const bool after_shot = shot_peak >= heard_peak;
    report->seen.push_back(std::string("music ") + (music ? "heard" : "silent") + " (peak " +
                           std::to_string(music_peak) +
                           (c.file == std::string("gun.wav") ? ", volume 0)" : ")"));
    if (c.file == std::string("gun.wav")) {
        report->seen.push_back(std::string("gun ") + (after_shot ? "heard" : "silent") + " (peak " +
                               std::to_string(shot_peak) + ")");
        EXPECT_FALSE(music) << "music with its volume at 0";
        if (unplayable(c, "gun.wav")) {
            EXPECT_FALSE(after_shot) << "a sound after the shot without a playable gun.wav";
        }
        return;
    }
    if (unplayable(c, "supera29.xm")) {
        EXPECT_FALSE(music) << "music without a playable supera29.xm";
        // Nothing else plays: the gun is heard alone, as it should.
        report->seen.push_back(std::string("gun ") + (after_shot ? "heard" : "silent") + " (peak " +
                               std::to_string(shot_peak) + ")");
        EXPECT_TRUE(after_shot) << "no gun sound after the shot";
    } else if (c.file != std::string("supera29.xm")) {
        EXPECT_TRUE(music) << "no music " << output->size() << " bytes into the output";
    }
}

TEST_P(BadInput, TheGameRunsOnAndTheFilesAreAsExpected) {
    const BadInputCase& c = GetParam();
    const std::string file = c.file;
    CaseReport report;
    report.what = file.empty()
                      ? c.name
                      : file + " " + describe(c.damage, c.size) +
                            (c.place == Place::unwritable_dir ? ", directory read-only" : "");
    if (c.place == Place::unwritable_dir && file.empty())
        report.what = "working directory read-only";
    if (c.place == Place::no_audio)
        report.what = "no audio device";

    GameSetup setup;
    // Assets are spoiled with no stores in place; the stores start as good files, but for
    // scores.dat on a full disk, missing so that the game writes it at the start.
    if (is_store(file) || c.place == Place::unwritable_dir) {
        if (!(file == "scores.dat" && c.damage == Damage::disk_full))
            setup.scores = encode_scores(zero_table());
        setup.config = config_start;
    }
    setup.unprivileged = c.damage == Damage::unreadable || c.place == Place::unwritable_dir;
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
        if (c.place == Place::unwritable_dir && chmod(dir.c_str(), 0555) != 0) {
            *problem = "cannot make " + dir + " read-only";
            return false;
        }
        return true;
    };
    if (setup.unprivileged)
        report.seen.push_back("run as uid " + std::to_string(game_user(setup)));

    GameSession session;
    SessionGuard guard{&session};
    std::string problem;
    const bool started = start_game_session(&session, setup, &problem);
    if (!started)
        report.seen.push_back("did not run: " + problem);
    ASSERT_TRUE(started) << problem << "\ngame output:\n" << game_log(session);
    report.seen.push_back("ran (windows, HUD)");

    // The game view, then one side screen: the one a spoiled picture is behind, the hi-score
    // screen for scores.dat, the help otherwise; then back to the game.
    Image view;
    look_at_screen(&session, c, "", SideScreen::none, game_view_problems, &report, &view);
    if (file == "hiscbg.bmp" || file == "scores.dat") {
        // A table of random bytes shows random rows.
        const bool table_readable = !(file == "scores.dat" && c.damage == Damage::garbage);
        look_at_screen(&session, c, "F5", SideScreen::hiscores,
                       table_readable ? hiscore_screen_problems : hiscore_headings_problems,
                       &report, &view);
        report.seen.push_back(table_readable ? "hi-score table shown" : "hi-score headings shown");
    } else if (file == "nfobg.bmp") {
        look_at_screen(&session, c, "F7", SideScreen::about, about_screen_problems, &report, &view);
    } else {
        look_at_screen(&session, c, "F1", SideScreen::help, help_screen_problems, &report, &view);
    }
    look_at_screen(&session, c, "Escape", SideScreen::none, game_view_problems, &report, &view);

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
    if (c.place == Place::unwritable_dir ||
        (file == "config.dat" && c.damage == Damage::disk_full)) {
        EXPECT_TRUE(press(&session, "Home")); // a change of volume that cannot be saved
    }

    const ChildEnd end = quit_with_f12(&session, Milliseconds(5000));
    report.seen.push_back("F12: " + describe(end));
    EXPECT_TRUE(end.ended && end.exited && end.exit_status == 0) << describe(end);

    const std::string scores_path = work_file(session, "scores.dat");
    const std::string config_path = work_file(session, "config.dat");
    report.seen.push_back("scores.dat " + file_state(scores_path, scores_before));
    report.seen.push_back("config.dat " + file_state(config_path, config_before));
    const auto scores_after = read_bytes(scores_path);
    const auto config_after = read_bytes(config_path);
    if (is_sound(file))
        check_sounds(c, read_bytes(work_file(session, sound_file)), sound_before_shot, &report);
    if (c.place == Place::unwritable_dir || c.damage == Damage::disk_full) {
        // Nothing can be written: what was there stays as it was, to the byte and the mode.
        if (scores_before) {
            ASSERT_TRUE(scores_after);
            EXPECT_EQ(hex_bytes(*scores_after), hex_bytes(*scores_before));
        } else {
            EXPECT_FALSE(file_exists(scores_path)) << "scores.dat was written";
        }
        if (c.damage == Damage::unreadable) {
            EXPECT_EQ(fs::status(scores_path, error).permissions(), fs::perms::none);
        }
        ASSERT_TRUE(config_after);
        EXPECT_EQ(hex_bytes(*config_after), hex_bytes(config_start));
    } else {
        if (file == "scores.dat" && c.damage == Damage::directory) {
            EXPECT_TRUE(fs::is_directory(scores_path, error));
        } else if ((file == "scores.dat" && c.damage == Damage::unreadable) || !setup.scores) {
            // Missing or unreadable at start-up: written anew with the built-in table.
            ASSERT_TRUE(scores_after) << "no readable scores.dat";
            EXPECT_TRUE(is_builtin_table(*scores_after)) << hex_bytes(*scores_after);
        } else {
            ASSERT_TRUE(scores_after);
            ASSERT_TRUE(scores_before);
            EXPECT_EQ(hex_bytes(*scores_after), hex_bytes(*scores_before))
                << "scores.dat was changed";
        }
        if (file == "config.dat" && c.damage == Damage::directory) {
            EXPECT_TRUE(fs::is_directory(config_path, error));
        } else {
            ASSERT_TRUE(config_after) << "no readable config.dat after F12";
            EXPECT_EQ(hex_bytes(*config_after), volumes_kept(config_before));
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
