// Targets, shots and particles: their records, their lists and the gameplay state they share.
#pragma once

#include <cstdint>

#include "geometry/object3d.h"

struct Target {
    Object3D object;
    int32_t health; // removed by the next target update once 0 or less; -1 when it escaped
    Target* next;
};

struct Shot {
    Object3D object;
    Shot* next;
};

struct Particle {
    Object3D object;
    int32_t life; // ticks left
    Particle* next;
};

// Oldest first; first is null exactly when last is.
template <typename Record> struct RecordList {
    Record* first;
    Record* last;
};

extern RecordList<Target> target_list;
extern RecordList<Shot> shot_list;
extern RecordList<Particle> particle_list;

// Appends a new, zeroed record; null when it cannot be allocated.
template <typename Record> Record* append_record(RecordList<Record>* list);

// Removes current during a walk, given the previous record that stayed (null at the head);
// releases its mesh and the record and returns the record after it.
template <typename Record>
Record* remove_record(RecordList<Record>* list, Record* previous, Record* current);

void clear_targets();
void clear_shots();
void clear_particles();

// Gameplay state; new_game resets it.
extern int32_t level;
extern int32_t to_next;
extern uint32_t points;
extern int32_t accuracy;
extern int32_t hits;
extern int32_t shots_fired;
extern int32_t live_targets;
extern int32_t max_targets;
extern int32_t spawn_interval;
extern int32_t spawn_counter;
extern float fall_speed;
extern float spawn_depth_base;
extern float spawn_depth_range;
extern float shot_speed;
extern int32_t shot_damage;

void reset_gameplay_state();

// Set once at start-up.
struct FieldRect {
    int32_t left, top, right, bottom;
};
extern float particle_drift;
extern FieldRect field_rect; // a target whose centre leaves it has escaped
