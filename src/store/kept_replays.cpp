// Kept replays are written whole or not at all, after the files the player keeps their scores
// and volumes in: a disk too full for a replay costs that replay alone, said once.
#include "store/kept_replays.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "store/hiscores.h"
#include "store/say.h"
#include "store/system_files.h"
#include "store/whole_file.h"

namespace {

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

} // namespace

void keep_last_replay(const std::vector<uint8_t>& bytes) {
    keep("last.zrp", bytes);
}

void keep_ranked_replay(int32_t rank, const std::vector<uint8_t>& bytes) {
    // From the bottom up: a row without a game of its own passes its emptiness down too.
    for (int32_t row = hiscore_count - 1; row > rank; --row) {
        const std::string below = rank_file(row), above = rank_file(row - 1);
        if (replace_file(above, below) == ENOENT)
            remove_file(below);
    }
    keep(rank_file(rank), bytes);
}

void remove_interrupted_replay_saves() {
    remove_interrupted_save("last.zrp");
    for (int32_t row = 0; row < hiscore_count; ++row)
        remove_interrupted_save(rank_file(row).c_str());
}
