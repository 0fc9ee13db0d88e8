// Building the heavy scene from the game's own operations, from a fixed seed.
#include "bench/heavy_scene.h"

#include <cstdlib>
#include <filesystem>

#include "app/startup.h"
#include "game/entities.h"
#include "game/particles.h"
#include "game/scoring.h"
#include "game/shots.h"
#include "game/targets.h"
#include "platform/data_file_names.h"
#include "platform/window.h"
#include "render/gun_view.h"
#include "world/random.h"
#include "world/state.h"

namespace {

// The game reads its pictures from its working directory and may write scores.dat there.
void enter_scratch_folder() {
    namespace fs = std::filesystem;
    const fs::path scratch = fs::temp_directory_path() / "zarnok-bench";
    fs::create_directories(scratch);
    for (const char* picture :
         {background_file, help_background_file, hiscore_background_file, about_background_file})
        fs::copy_file(fs::path(ZARNOK_DATA_DIR) / picture, scratch / picture,
                      fs::copy_options::overwrite_existing);
    fs::current_path(scratch);
}

} // namespace

bool set_up_heavy_scene() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    enter_scratch_folder();
    if (!open_platform())
        return false;
    init_game();
    seed_random(20261207);
    while (level < 10)
        level_up();
    for (int i = 0; i < 30; ++i) {
        spawn_target();
        target_list.last->object.position.y = static_cast<float>(next_random() % 500) - 100.0f;
        target_list.last->object.angle_x = static_cast<float>(next_random() % 360);
        target_list.last->object.angle_y = static_cast<float>(next_random() % 360);
    }
    views[main_view].mouse_x = 260;
    views[main_view].mouse_y = 150;
    draw_gun_view();
    for (int i = 0; i < 10; ++i) {
        gun_model.angle_x = static_cast<float>(next_random() % 40) - 20.0f;
        gun_model.angle_y = static_cast<float>(next_random() % 40) - 20.0f;
        fire_shot();
        Object3D& shot = shot_list.last->object;
        const float ticks = static_cast<float>(i * 3);
        shot.position.x += shot.velocity.x * ticks;
        shot.position.y += shot.velocity.y * ticks;
        shot.position.z += shot.velocity.z * ticks;
    }
    for (int i = 0; i < 3; ++i)
        explode(static_cast<float>(100 + 100 * i), static_cast<float>(120 + 60 * i), -60.0f, 100);
    for (int tick = 0; tick < 30; ++tick)
        update_particles(); // spread the bursts out
    return live_targets == 30 && particle_list.first != nullptr;
}
