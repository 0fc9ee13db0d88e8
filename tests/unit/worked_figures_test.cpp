// The game's worked figures, checked directly so that a wrong recording of the journey's trace
// cannot pass unseen: the quick paths of the boxes, the hi-score table, the name entry's
// characters and the clock from any readings. (Levels, scores, shading, aiming, the stored
// files and the screens' texts show in every line of the trace.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "app/clock.h"
#include "app/name_entry.h"
#include "game/entities.h"
#include "game/scoring.h"
#include "geometry/sines.h"
#include "geometry/transform.h"
#include "platform/us_keyboard.h"
#include "store/hiscores.h"
#include "tests/fake/fake_platform.h"
#include "tests/unit/unit_support.h"
#include "world/state.h"

namespace {

// The turns one at a time, as the game's arithmetic is written out: each corner and centre turned
// in double precision about one axis and stored as a float.
void turn_one_axis(Object3D* obj, float degrees, char axis) {
    const double c = cosine(radians(degrees)), s = sine(radians(degrees));
    const auto turn = [&](Vec3& v) {
        const double x = v.x, y = v.y, z = v.z;
        if (axis == 'z')
            v = {static_cast<float>(x * c + y * s), static_cast<float>(x * s - y * c), v.z};
        else if (axis == 'x')
            v = {v.x, static_cast<float>(-y * c - z * s), static_cast<float>(y * s - z * c)};
        else
            v = {static_cast<float>(x * c - z * s), v.y, static_cast<float>(x * s + z * c)};
    };
    for (int32_t i = 0; i < obj->face_count; ++i) {
        for (int32_t k = 0; k < obj->world_faces[i].vertex_count; ++k)
            turn(obj->world_faces[i].vertices[k]);
        turn(obj->world_faces[i].centre);
    }
}

// Every quick path of a box gives the figures of the single steps bit for bit: boxes of random
// sizes, places and angles (whole degrees and not), turned four points at a time or one.
TEST(WorkedFigures, BoxPathsMatchTheSingleSteps) {
    std::mt19937 random(7);
    const auto any = [&random](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    };
    const Eye eye{200, 200, 50, 0};
    for (int trial = 0; trial < 400; ++trial) {
        Object3D quick{}, single{};
        const float place[3] = {any(-50, 450), any(-50, 450), any(-400, 20)};
        const float size[6] = {any(-9, 9), any(-9, 9), any(-9, 9),
                               any(0, 40), any(0, 40), any(0, 40)};
        for (Object3D* box : {&quick, &single}) {
            make_box(place[0], place[1], place[2], size[0], size[1], size[2], 0, 0, 0, size[3],
                     size[4], size[5], box);
            box->angle_x = trial % 5 == 0 ? any(-20, 380) : std::floor(any(0, 361));
            box->angle_y = trial % 7 == 0 ? any(-20, 380) : std::floor(any(0, 361));
            box->angle_z = std::floor(any(0, 361));
        }
        single.angle_x = quick.angle_x;
        single.angle_y = quick.angle_y;
        single.angle_z = quick.angle_z;
        allow_four_at_a_time(trial % 4 < 2);
        trial % 2 == 0 ? transform_and_project(&quick, eye)
                       : (transform(&quick), project(&quick, eye));
        single.box = false;
        reset_world(&single);
        turn_one_axis(&single, single.angle_z, 'z');
        turn_one_axis(&single, single.angle_x, 'x');
        turn_one_axis(&single, single.angle_y, 'y');
        sort_and_place(&single);
        project(&single, eye);
        for (int i = 0; i < 6; ++i) {
            const Face &q = quick.world_faces[i], &s = single.world_faces[i];
            EXPECT_EQ(std::memcmp(q.vertices, s.vertices, 4 * sizeof(Vec3)), 0)
                << trial << " " << i;
            EXPECT_EQ(std::memcmp(&q.centre, &s.centre, sizeof(Vec3)), 0) << trial << " " << i;
            EXPECT_EQ(std::memcmp(&q.depth, &s.depth, sizeof(double)), 0) << trial << " " << i;
            EXPECT_EQ(quick.draw_order[i], single.draw_order[i]) << trial << " " << i;
        }
        free_mesh(&quick);
        free_mesh(&single);
    }
    allow_four_at_a_time(true);
}

TEST(WorkedFigures, HiScoreRanks) {
    // points at the end of a game, then the row it takes (-1: none)
    const int32_t cases[][2] = {{8000, 2}, {100, -1}, {101, 4}, {10001, 0}, {0, -1}};
    for (const auto& c : cases) {
        FreshGame fresh;
        points = static_cast<uint32_t>(c[0]);
        accuracy = 300;  // only the low byte is kept
        name_length = 3; // left from the last name
        insert_hiscore();
        EXPECT_EQ(entering_name ? new_rank : -1, c[1]) << c[0];
        if (c[1] < 0)
            continue;
        EXPECT_EQ(name_length, 0);
        EXPECT_EQ(hiscores[c[1]].accuracy, 44u);
        if (c[1] < 4) {
            EXPECT_STREQ(hiscores[c[1] + 1].name, builtin_hiscores[c[1]].name);
        }
    }
}

TEST(WorkedFigures, NameCharacters) {
    // What every scan code types, without and with Shift, a tab standing for nothing: 0 to 74,
    // and nothing above.
    const std::string none16(16, '\t'), above(181, '\t');
    const std::string expected[2] = {
        "\t\t1234567890-=\t\tqwertyuiop[]\t\tasdfghjkl;'`\t\\zxcvbnm,./\t*\t " + none16 + "-",
        "\t\t!@#$%^&*()_+\t\tQWERTYUIOP{}\t\tASDFGHJKL:\"~\t|ZXCVBNM<>?\t*\t " + none16 + "-"};
    for (const bool shifted : {false, true}) {
        std::string typed;
        for (int32_t s = 0; s < 256; ++s) {
            const char c = scan_code_to_char(s, shifted);
            typed += c == 1 ? '\t' : c;
        }
        EXPECT_EQ(typed, expected[shifted] + above) << shifted;
    }
}

} // namespace

// The clock from any two readings, however far apart or however ordered (a replay's may be
// anything within a week of each other, and the counter wraps): at most a pass's ticks are due,
// the remainder carried, and no figure overflows.
TEST(WorkedFigures, TicksOfAnyReadings) {
    FreshGame fresh;
    start_clock(); // a million counts a second: ticks of 10000
    struct Step {
        int64_t elapsed; // since the reading before
        int32_t ticks;
        int64_t carried;
    };
    constexpr int64_t far = int64_t{1} << 62;
    const Step steps[] = {
        {10001, 1, 1},          // a tick and one count
        {9999, 0, 10000},       // exactly a tick waits for the next reading
        {30005, 4, 5},          // four more, and five counts
        {INT64_MAX, 100, 7904}, // further than a pass may go: the pass's most, from 2^62
        {11, 0, 7915},          // the counter wrapped round, and goes on
        {-far, 0, 7915 - far},  // backwards, far,
        {-far, 0, -far},        // and further: held where no sum overflows
        {INT64_MIN, 0, -far},   {far + 10001, 1, 1},
    };
    uint64_t reading = 0;
    for (const Step& step : steps) {
        reading += static_cast<uint64_t>(step.elapsed);
        fake::state().counter = static_cast<int64_t>(reading);
        ticks_due = 0;
        read_clock();
        EXPECT_EQ(ticks_due, step.ticks) << step.elapsed;
        EXPECT_EQ(clock_accumulator, step.carried) << step.elapsed;
    }
}
