// Typing a name from the keys that are down: once per press, lowest code first, Shift, the
// edit keys and Enter.
#include <gtest/gtest.h>

#include "app/key_hook.h"
#include "app/main_loop.h"
#include "app/name_entry.h"
#include "app/state.h"
#include "store/hiscores.h"
#include "tests/unit/game_fixture.h"

namespace {

constexpr int32_t scan_a = 30, scan_b = 48, scan_q = 16, scan_space = 57, scan_shift = 42;
constexpr int32_t scan_backspace = 14, scan_enter = 28;

class NameEntryTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        entering_name = 1;
        new_rank = 1;
        name_length = 0;
        last_name_key = -1;
        hiscores[1].name[0] = '\0';
    }
    // Presses the keys together, runs passes until they are acted on, then lets go and runs
    // the pass that sees them up.
    void type(std::initializer_list<int32_t> keys, bool shift = false) {
        fake::state().shift = shift;
        for (int32_t key : keys)
            key_down[key] = 1;
        name_entry_step();
        for (int32_t key : keys)
            key_down[key] = 0;
        name_entry_step();
        fake::state().shift = false;
    }
    std::string name() const { return hiscores[1].name; }
};

TEST_F(NameEntryTest, LettersShiftAndSpace) {
    type({scan_a});
    type({scan_b}, true);
    type({scan_space});
    EXPECT_EQ(name(), "aB ");
    EXPECT_EQ(name_length, 3);
}

TEST_F(NameEntryTest, AHeldKeyTypesOnceAndTheReleasePassTypesNothing) {
    key_down[scan_a] = 1;
    for (int i = 0; i < 5; ++i)
        name_entry_step();
    EXPECT_EQ(name(), "a");
    key_down[scan_a] = 0;
    name_entry_step(); // sees it up
    key_down[scan_a] = 1;
    name_entry_step();
    EXPECT_EQ(name(), "aa");
}

TEST_F(NameEntryTest, TenCharactersAtMostAndBackspaceTakesTheLast) {
    for (int i = 0; i < 12; ++i)
        type({scan_q});
    EXPECT_EQ(name(), "qqqqqqqqqq");
    type({scan_backspace});
    EXPECT_EQ(name(), "qqqqqqqqq");
    EXPECT_EQ(name_length, 9);
    for (int i = 0; i < 12; ++i)
        type({scan_backspace});
    EXPECT_EQ(name(), "");
    EXPECT_EQ(name_length, 0);
}

TEST_F(NameEntryTest, KeysDownTogetherGoLowestCodeFirst) {
    type({scan_a, scan_q});
    EXPECT_EQ(name(), "qa");
    EXPECT_EQ(last_name_key, -1);
}

TEST_F(NameEntryTest, WhenTheHigherKeyIsLetGoTheOtherIsTypedAgain) {
    key_down[scan_q] = 1;
    key_down[scan_a] = 1;
    name_entry_step(); // "qa"; the last key acted on is a
    key_down[scan_a] = 0;
    name_entry_step(); // a is up: nothing typed
    name_entry_step(); // q is still down and is typed again
    EXPECT_EQ(name(), "qaq");
}

TEST_F(NameEntryTest, EnterSavesEvenAnEmptyNameAndLaterKeysStillType) {
    key_down[scan_enter] = 1;
    key_down[scan_space] = 1; // a higher code in the same pass
    name_entry_step();
    EXPECT_EQ(entering_name, 0);
    const auto saved = file_bytes("scores.dat");
    ASSERT_EQ(saved.size(), 100u);
    EXPECT_EQ(saved[20], 0); // row 1 saved with its empty name
    EXPECT_EQ(name(), " ");  // the space came after the save
    EXPECT_EQ(last_name_key, scan_space);
}

TEST_F(NameEntryTest, KeypadEnterConfirmsToo) {
    type({156});
    EXPECT_EQ(entering_name, 0);
    EXPECT_EQ(file_bytes("scores.dat").size(), 100u);
}

TEST_F(NameEntryTest, ShiftAloneTypesNothingAndIsNotTheLastKey) {
    key_down[scan_shift] = 1;
    name_entry_step();
    EXPECT_EQ(last_name_key, -1);
    EXPECT_EQ(name(), "");
}

TEST_F(NameEntryTest, TheKeypadTypesOnlyStarAndMinus) {
    for (int32_t code : {71, 72, 73, 75, 76, 77, 78, 79, 80, 81, 82, 83, 181, 55, 74})
        type({code});
    EXPECT_EQ(name(), "*-");
}

TEST_F(NameEntryTest, TheCharacterTableWithAndWithoutShift) {
    const std::string plain = "1234567890-=qwertyuiop[]asdfghjkl;'`\\zxcvbnm,./";
    const std::string shifted = "!@#$%^&*()_+QWERTYUIOP{}ASDFGHJKL:\"~|ZXCVBNM<>?";
    const int32_t codes[] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 16, 17, 18, 19,
                             20, 21, 22, 23, 24, 25, 26, 27, 30, 31, 32, 33, 34, 35, 36, 37,
                             38, 39, 40, 41, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53};
    for (size_t i = 0; i < std::size(codes); ++i) {
        fake::state().shift = false;
        EXPECT_EQ(scan_code_to_char(codes[i]), plain[i]) << codes[i];
        fake::state().shift = true;
        EXPECT_EQ(scan_code_to_char(codes[i]), shifted[i]) << codes[i];
    }
    for (int32_t none : {0, 1, 14, 15, 28, 29, 42, 54, 56, 58, 59, 68, 84, 156, 255})
        EXPECT_EQ(scan_code_to_char(none), 1) << none;
}

TEST_F(NameEntryTest, NothingIsTypedWhileASideScreenHidesTheOverlay) {
    // The overlay, which runs the typing, is not drawn behind a side screen.
    start_game();
    entering_name = 1;
    new_rank = 1;
    game_over = 1;
    help_shown = 1;
    key_down[scan_a] = 1;
    for (int i = 0; i < 3; ++i)
        idle_work();
    EXPECT_EQ(name(), "");
    help_shown = 0;
    idle_work();
    EXPECT_EQ(name(), "a");
}

} // namespace
