// The entity lists: appending, removing during a walk, clearing; and the new-game reset.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/new_game.h"
#include "app/state.h"
#include "game/entities.h"
#include "tests/unit/game_fixture.h"
#include "tests/unit/gameplay_support.h"

namespace {

class ListTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        for (int i = 0; i < 5; ++i)
            add_target(static_cast<float>(i), 0, 0);
    }
    // Removes the records at these positions in one walk, as the updates do.
    void remove_in_one_walk(const std::vector<int>& doomed) {
        Target* previous = nullptr;
        Target* current = target_list.first;
        for (int index = 0; current != nullptr; ++index) {
            if (std::find(doomed.begin(), doomed.end(), index) != doomed.end()) {
                current = remove_record(&target_list, previous, current);
                --live_targets;
            } else {
                previous = current;
                current = current->next;
            }
        }
    }
    std::vector<float> survivors() const {
        std::vector<float> xs;
        for (const Target* t = target_list.first; t != nullptr; t = t->next)
            xs.push_back(t->object.position.x);
        EXPECT_EQ(checked_length(target_list), static_cast<int32_t>(xs.size()));
        return xs;
    }
};

TEST_F(ListTest, RemovingTheFirstLastAndNeighboursKeepsTheRestInOrder) {
    remove_in_one_walk({0, 2, 3});
    EXPECT_EQ(survivors(), (std::vector<float>{1, 4}));
    remove_in_one_walk({1});
    EXPECT_EQ(survivors(), (std::vector<float>{1}));
    EXPECT_EQ(target_list.last, target_list.first);
}

TEST_F(ListTest, RemovingTheLastMakesThePreviousSurvivorLastAndAppendsFollowIt) {
    remove_in_one_walk({3, 4});
    EXPECT_EQ(survivors(), (std::vector<float>{0, 1, 2}));
    add_target(9, 0, 0);
    EXPECT_EQ(survivors(), (std::vector<float>{0, 1, 2, 9}));
}

TEST_F(ListTest, RemovingEverythingLeavesAnEmptyList) {
    remove_in_one_walk({0, 1, 2, 3, 4});
    EXPECT_EQ(target_list.first, nullptr);
    EXPECT_EQ(target_list.last, nullptr);
    add_target(7, 0, 0);
    EXPECT_EQ(survivors(), (std::vector<float>{7}));
}

TEST_F(ListTest, ClearingEmptiesAndAnEmptyClearIsHarmless) {
    clear_targets();
    EXPECT_EQ(survivors(), std::vector<float>{});
    clear_targets();
    add_target(3, 0, 0);
    EXPECT_EQ(target_list.first, target_list.last);
    EXPECT_EQ(survivors(), (std::vector<float>{3}));
}

class ResetTest : public GameTest {};

TEST_F(ResetTest, ANewGameResetsTheStateAndEmptiesEveryList) {
    start_game();
    add_target(1, 2, 3);
    level = 9;
    to_next = 1;
    accuracy = 3;
    points = 77;
    shots_fired = 4;
    fall_speed = 2.0f;
    append_record(&shot_list);
    append_record(&particle_list);
    new_game();
    EXPECT_EQ(level, 1);
    EXPECT_EQ(to_next, 5);
    EXPECT_EQ(accuracy, 100);
    EXPECT_EQ(points, 0u);
    EXPECT_EQ(shots_fired, 0);
    EXPECT_EQ(max_targets, 3);
    EXPECT_EQ(spawn_interval, 200);
    EXPECT_FLOAT_EQ(fall_speed, 0.4f);
    EXPECT_FLOAT_EQ(spawn_depth_range, 1.0f);
    EXPECT_EQ(live_targets, 0);
    EXPECT_EQ(target_list.first, nullptr);
    EXPECT_EQ(shot_list.first, nullptr);
    EXPECT_EQ(particle_list.last, nullptr);
    EXPECT_EQ(last_name_key, -1);
}

} // namespace
