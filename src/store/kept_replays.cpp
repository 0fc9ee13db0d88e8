// Kept replays are written whole or not at all, after the files the player keeps their scores
// and volumes in: a disk too full for a replay costs that replay alone, said once. The games of
// the table's rows follow the table as it stands on the disk: each rank file is matched to its
// row by the row its game made.
#include "store/kept_replays.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "store/file_names.h"
#include "store/hiscores.h"
#include "store/replay_file.h"
#include "store/say.h"
#include "store/system_files.h"
#include "store/whole_file.h"

namespace {

constexpr size_t row_size = hiscores_file_size / hiscore_count;
using Row = std::array<uint8_t, row_size>;

std::string rank_file(int32_t row) {
    return "rank" + std::to_string(row + 1) + ".zrp";
}

void keep(const std::string& path, const std::vector<uint8_t>& bytes) {
    static std::set<std::filesystem::path> said; // of the folders
    int error = EIO;
    if (write_whole_file(path.c_str(), bytes.data(), bytes.size(), &error) ||
        !said.insert(std::filesystem::absolute(".")).second)
        return;
    say("replays cannot be kept here (%s: %s); the game goes on without them", path.c_str(),
        describe_error(error));
}

// The row that the game kept at path made in the table, as its end holds it; none when the file
// is no replay, or its game made no row.
std::optional<Row> row_made(const std::string& path) {
    Replay replay;
    std::string why;
    if (!path_facts(path).exists || !read_replay_file(path.c_str(), &replay, &why))
        return std::nullopt;
    for (size_t at = 0; at < hiscores_file_size; at += row_size)
        if (std::memcmp(replay.start.table + at, replay.end.table + at, row_size) != 0) {
            Row row;
            std::memcpy(row.data(), replay.end.table + at, row_size);
            return row;
        }
    return std::nullopt;
}

void drop(int32_t rank) {
    say("%s is the game of no row of the hi-score table; it is removed", rank_file(rank).c_str());
    remove_file(rank_file(rank));
    save_step_done();
}

} // namespace

void keep_last_replay(const std::vector<uint8_t>& bytes) {
    keep("last.zrp", bytes);
}

bool last_replay_kept() {
    return path_facts("last.zrp").exists;
}

void keep_ranked_replay(int32_t rank, const std::vector<uint8_t>& bytes) {
    keep(rank_file(rank), bytes);
}

void match_ranked_replays() {
    Row table[hiscore_count];
    const FileRead saved = read_file_start(scores_file, table, sizeof table);
    if (saved.state != FileState::read || saved.count != hiscores_file_size)
        return; // no table on the disk to match
    // Where each rank file's game belongs: a file stays at its own row when that is the row its
    // game made, else takes another row of the same values that none holds yet.
    int32_t belongs[hiscore_count];
    bool held[hiscore_count] = {};
    std::optional<Row> rows[hiscore_count];
    for (int32_t file = 0; file < hiscore_count; ++file) {
        rows[file] = row_made(rank_file(file));
        belongs[file] = rows[file] == table[file] ? file : -1;
        held[file] = belongs[file] == file;
    }
    for (int32_t file = 0; file < hiscore_count; ++file)
        for (int32_t row = 0; row < hiscore_count && belongs[file] < 0 && rows[file]; ++row)
            if (!held[row] && rows[file] == table[row]) {
                belongs[file] = row;
                held[row] = true;
            }
    bool present[hiscore_count];
    for (int32_t file = 0; file < hiscore_count; ++file) {
        present[file] = path_facts(rank_file(file)).exists;
        if (present[file] && belongs[file] < 0) {
            drop(file);
            present[file] = false;
        }
    }
    // Each file moves once its row's name is free; those that wait on each other in a ring (rows
    // that changed places) are dropped.
    for (bool moved = true; moved;) {
        moved = false;
        for (int32_t file = 0; file < hiscore_count; ++file) {
            const int32_t row = belongs[file];
            if (!present[file] || row == file || present[row])
                continue;
            replace_file(rank_file(file), rank_file(row));
            save_step_done();
            present[file] = false;
            present[row] = true;
            belongs[row] = row;
            moved = true;
        }
    }
    for (int32_t file = 0; file < hiscore_count; ++file)
        if (present[file] && belongs[file] != file)
            drop(file);
}

void remove_interrupted_saves(bool only_old) {
    std::vector<std::string> names = {scores_file, config_file, "last.zrp"};
    for (int32_t row = 0; row < hiscore_count; ++row)
        names.push_back(rank_file(row));
    remove_interrupted_saves(names, only_old);
}
