// The new-game reset: empty lists, the start values, the clock and the random generator.
#include "app/new_game.h"

#include "app/clock.h"
#include "app/game_record.h"
#include "app/key_hook.h"
#include "app/name_entry.h"
#include "game/entities.h"
#include "world/random.h"
#include "world/state.h"

void new_game() {
    save_named_row();
    start_game_record();
    clear_targets();
    clear_shots();
    clear_particles();
    reset_gameplay_state();
    start_clock();
    seed_random(static_cast<uint32_t>(clock_now));
    about_shown = 0;
    show_fps = 0;
    entering_name = 0;
    hiscores_shown = 0;
    help_shown = 0;
    game_over = 0;
    paused = 0;
    last_name_key = -1;
    forget_key_presses();
    note_game_start();
}
