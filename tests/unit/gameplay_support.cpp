// Gameplay test helpers.
#include "tests/unit/gameplay_support.h"

#include <gtest/gtest.h>

#include <new>

bool fail_nothrow_allocations = false;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (fail_nothrow_allocations)
        return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

Target* add_target(float x, float y, float z, float fall) {
    Target* target = append_record(&target_list);
    make_box(x, y, z, 0, 0, 0, 0, fall, 0, 5, 5, 5, &target->object);
    set_colour(&target->object, 255, 0, 0);
    target->reserved = 1;
    target->health = 1;
    ++live_targets;
    return target;
}

template <typename Record> int32_t checked_length(const RecordList<Record>& list) {
    EXPECT_EQ(list.first == nullptr, list.last == nullptr);
    int32_t length = 0;
    const Record* last_seen = nullptr;
    for (const Record* r = list.first; r != nullptr; r = r->next) {
        last_seen = r;
        if (++length > 100000) {
            ADD_FAILURE() << "the list loops";
            break;
        }
    }
    EXPECT_EQ(last_seen, list.last);
    return length;
}

template int32_t checked_length(const RecordList<Target>&);
template int32_t checked_length(const RecordList<Shot>&);
template int32_t checked_length(const RecordList<Particle>&);
