// The entity lists and the gameplay state.
#include "game/entities.h"

#include <new>

RecordList<Target> target_list;
RecordList<Shot> shot_list;
RecordList<Particle> particle_list;

int32_t level;
int32_t to_next;
uint32_t points;
int32_t accuracy;
int32_t hits;
int32_t shots_fired;
int32_t live_targets;
int32_t max_targets;
int32_t spawn_interval;
int32_t spawn_counter;
float fall_speed;
float spawn_depth_base;
float spawn_depth_range;
float shot_speed;
int32_t shot_damage;

float particle_drift;
FieldRect field_rect;

template <typename Record> Record* append_record(RecordList<Record>* list) {
    auto* record = new (std::nothrow) Record{};
    if (record == nullptr)
        return nullptr;
    if (list->last == nullptr)
        list->first = record;
    else
        list->last->next = record;
    list->last = record;
    return record;
}

template <typename Record>
Record* remove_record(RecordList<Record>* list, Record* previous, Record* current) {
    free_mesh(&current->object);
    Record* next = current->next;
    delete current;
    if (previous == nullptr)
        list->first = next;
    else
        previous->next = next;
    if (next == nullptr)
        list->last = previous;
    return next;
}

template Target* append_record(RecordList<Target>*);
template Shot* append_record(RecordList<Shot>*);
template Particle* append_record(RecordList<Particle>*);
template Target* remove_record(RecordList<Target>*, Target*, Target*);
template Shot* remove_record(RecordList<Shot>*, Shot*, Shot*);
template Particle* remove_record(RecordList<Particle>*, Particle*, Particle*);

namespace {

template <typename Record> void clear_list(RecordList<Record>* list) {
    Record* record = list->first;
    while (record != nullptr) {
        Record* next = record->next;
        free_mesh(&record->object);
        delete record;
        record = next;
    }
    list->first = nullptr;
    list->last = nullptr;
}

} // namespace

void clear_targets() {
    clear_list(&target_list);
}
void clear_shots() {
    clear_list(&shot_list);
}
void clear_particles() {
    clear_list(&particle_list);
}

void reset_gameplay_state() {
    level = 1;
    spawn_counter = 0;
    hits = 0;
    live_targets = 0;
    max_targets = 3;
    spawn_interval = 200;
    spawn_depth_base = -50.0f;
    to_next = 5;
    fall_speed = 0.4f;
    spawn_depth_range = 1.0f;
    shot_speed = 6.5f;
    accuracy = 100;
    shot_damage = 1;
    points = 0;
    shots_fired = 0;
}
