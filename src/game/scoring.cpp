// Counting shots and hits, raising the level, ending the game and offering its result to the
// hi-score table.
#include "game/scoring.h"

#include "audio/sound.h"
#include "game/entities.h"
#include "game/particles.h"
#include "store/hiscores.h"
#include "world/state.h"

namespace {

// A row waiting for the player's name shows the game's result as it stands.
void write_live_result(HiScore* entry) {
    entry->points = points;
    entry->accuracy = (entry->accuracy & ~0xFFu) | (static_cast<uint32_t>(accuracy) & 0xFF);
    entry->level = static_cast<uint8_t>(level);
}

void recompute_accuracy() {
    accuracy = static_cast<int32_t>(static_cast<double>(hits) / shots_fired * 100.0);
}

} // namespace

void count_shot() {
    shots_fired += 1;
    recompute_accuracy();
}

void score_hit() {
    hits += 1;
    recompute_accuracy();
    points += static_cast<uint32_t>(level * level * accuracy);
    to_next -= 1;
    if (entering_name == 1)
        write_live_result(&hiscores[new_rank]);
    if (to_next <= 0)
        level_up();
}

void level_up() {
    max_targets += 3;
    spawn_interval -= 15;
    if (spawn_interval < 25)
        spawn_interval = 25;
    level += 1;
    spawn_depth_range += 20.0f;
    if (spawn_depth_range > 200.0f)
        spawn_depth_range = 200.0f;
    fall_speed = static_cast<float>(static_cast<double>(fall_speed) + 0.05);
    to_next = 5 * level;
    play_effect(yeah_sound);
}

void end_game() {
    for (int32_t i = 0; i < aim_cube_count; ++i) {
        const Vec3& p = aim_cubes[i].position;
        explode(p.x, p.y, p.z, 20);
    }
    insert_hiscore();
}

void insert_hiscore() {
    int32_t rank = 0;
    while (rank < hiscore_count && !(points > hiscores[rank].points))
        ++rank;
    if (rank == hiscore_count)
        return;
    for (int32_t j = hiscore_count - 2; j >= rank; --j)
        hiscores[j + 1] = hiscores[j];
    new_rank = rank;
    entering_name = 1;
    name_length = 0;
    hiscores[rank].name[0] = '\0';
    write_live_result(&hiscores[rank]);
}
