// The hi-score table: scores.dat bytes, short and odd files, insertion and ties.
#include <gtest/gtest.h>

#include <cstring>

#include "app/state.h"
#include "game/entities.h"
#include "store/hiscores.h"
#include "tests/unit/game_fixture.h"

namespace {

class HiScoreTest : public GameTest {
  protected:
    // Offers a score from the end of a game.
    void offer(uint32_t score, int32_t at_level = 3, int32_t with_accuracy = 77) {
        points = score;
        level = at_level;
        accuracy = with_accuracy;
        entering_name = 0;
        insert_hiscore();
    }
    std::vector<uint32_t> table_points() const {
        std::vector<uint32_t> all;
        for (const HiScore& entry : hiscores)
            all.push_back(entry.points);
        return all;
    }
};

TEST_F(HiScoreTest, AFirstRunWritesTheBuiltInTable) {
    load_hiscores();
    const auto bytes = file_bytes("scores.dat");
    ASSERT_EQ(bytes.size(), 100u);
    const std::vector<uint8_t> record0 = {'T', 'i', 'b',  'b', 'o', 0, 0,    0,    0, 0,
                                          0,   5,   0x64, 0,   0,   0, 0x10, 0x27, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 20), record0);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 80, bytes.begin() + 86),
              (std::vector<uint8_t>{'D', 'u', 's', 'k', 'o', 0}));
    EXPECT_EQ(bytes[96], 100);
    // Read back unchanged.
    hiscores[2].points = 1;
    load_hiscores();
    EXPECT_EQ(hiscores[2].points, 6000u);
    EXPECT_EQ(file_bytes("scores.dat"), bytes);
}

TEST_F(HiScoreTest, AShortFileReplacesOnlyTheBytesItHolds) {
    std::vector<uint8_t> bytes(30, 'x');
    bytes[0] = 'Q';
    write_file("scores.dat", bytes);
    load_hiscores();
    EXPECT_EQ(std::string(hiscores[0].name, 11), "Qxxxxxxxxxx"); // no zero: all 11 bytes
    EXPECT_EQ(hiscores[0].points, 0x78787878u);
    EXPECT_EQ(std::string(hiscores[1].name, 10), "xxxxxxxxxx");
    EXPECT_EQ(hiscores[1].name[10], 0); // the eleventh byte of "Rinka"'s field
    EXPECT_EQ(hiscores[1].level, 4);
    EXPECT_EQ(hiscores[1].points, 8000u);
    EXPECT_EQ(hiscores[4].points, 100u);
    EXPECT_EQ(file_bytes("scores.dat").size(), 30u); // not rewritten
}

TEST_F(HiScoreTest, AnEmptyFileChangesNothingAndIsNotRewritten) {
    write_file("scores.dat", {});
    load_hiscores();
    EXPECT_EQ(table_points(), (std::vector<uint32_t>{10000, 8000, 6000, 4000, 100}));
    EXPECT_TRUE(file_bytes("scores.dat").empty());
}

TEST_F(HiScoreTest, NothingReadIsCheckedAndBytesPastTheHundredthAreIgnored) {
    std::vector<uint8_t> bytes(120, 0);
    bytes[11] = 0;  // level 0
    bytes[12] = 44; // accuracy 300 = 0x12C
    bytes[13] = 1;
    bytes[16] = 1; // 1 point, above a row of more
    bytes[36] = 200;
    write_file("scores.dat", bytes);
    load_hiscores();
    EXPECT_EQ(hiscores[0].accuracy, 300u);
    EXPECT_EQ(hiscores[0].level, 0);
    EXPECT_EQ(hiscores[0].points, 1u);
    EXPECT_EQ(hiscores[1].points, 200u);
}

TEST_F(HiScoreTest, InsertionFindsItsRankAndTiesGoBelow) {
    offer(8000);
    EXPECT_EQ(new_rank, 2);
    EXPECT_EQ(table_points(), (std::vector<uint32_t>{10000, 8000, 8000, 6000, 4000}));
    EXPECT_STREQ(hiscores[3].name, "Gorvin");
    EXPECT_STREQ(hiscores[2].name, "");
    EXPECT_EQ(hiscores[2].level, 3);
    EXPECT_EQ(hiscores[2].accuracy, 77u);
    EXPECT_EQ(entering_name, 1);
    EXPECT_EQ(name_length, 0);
}

TEST_F(HiScoreTest, TheBottomRowIsReplacedOnlyByMore) {
    offer(100);
    EXPECT_EQ(entering_name, 0);
    offer(0);
    EXPECT_EQ(entering_name, 0);
    EXPECT_EQ(table_points(), (std::vector<uint32_t>{10000, 8000, 6000, 4000, 100}));
    offer(101);
    EXPECT_EQ(new_rank, 4);
    EXPECT_EQ(table_points(), (std::vector<uint32_t>{10000, 8000, 6000, 4000, 101}));
}

TEST_F(HiScoreTest, ATopScoreShiftsEveryRowDown) {
    offer(10001);
    EXPECT_EQ(new_rank, 0);
    EXPECT_EQ(table_points(), (std::vector<uint32_t>{10001, 10000, 8000, 6000, 4000}));
    EXPECT_STREQ(hiscores[1].name, "Tibbo");
}

TEST_F(HiScoreTest, PointsCompareUnsignedAndTheHighAccuracyBytesMoveAlong) {
    hiscores[1].accuracy = 0x00ABCD55; // only an edited file has such bytes
    offer(3000000000u);
    EXPECT_EQ(new_rank, 0);
    EXPECT_EQ(hiscores[0].points, 3000000000u);
    EXPECT_EQ(hiscores[2].accuracy, 0x00ABCD55u); // moved down whole
    // The new row writes only the low byte over what was in its place.
    hiscores[4].accuracy = 0x00ABCD00 | 30;
    offer(4500, 2, 12);
    EXPECT_EQ(new_rank, 4);
    EXPECT_EQ(hiscores[4].accuracy, 0x00ABCD00u | 12u);
    EXPECT_EQ(hiscores[4].level, 2);
}

TEST_F(HiScoreTest, AFailedWriteLeavesTheOldFileWholeAndPlayGoesOn) {
    load_hiscores();
    const auto before = file_bytes("scores.dat");
    std::filesystem::create_directory("scores.dat.new");
    hiscores[0].points = 5;
    save_hiscores();
    EXPECT_EQ(file_bytes("scores.dat"), before);
    EXPECT_EQ(hiscores[0].points, 5u);
}

} // namespace
