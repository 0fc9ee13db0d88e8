// Shooting targets as a player would: find one in a picture, aim ahead of its fall, fire, and
// watch the points on the HUD.
#pragma once

#include <string>

#include "tests/e2e/game_session.h"

struct ShootingRecord {
    int shots = 0;
    int hits = 0;
    std::string log; // one line per shot, for a failure message
};

// Fires at level-1 targets until this many shots have hit, a hit being seen as a change of the
// HUD's points; false when the limit passes first.
bool shoot_targets(GameSession* session, int hits_wanted, Milliseconds limit,
                   ShootingRecord* record);
