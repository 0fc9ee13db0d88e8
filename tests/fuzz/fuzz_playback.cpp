// Fuzzing a replay's playback: any bytes the reader takes (their checksum made right first, so
// that what lies behind it is fuzzed) are watched to their end, as fast as they go, on the fake
// platform: the game must end, without a fault the sanitizers see, whatever the record says.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/replay_watch.h"
#include "store/replay_file.h"
#include "tests/fake/fake_platform.h"
#include "tests/unit/unit_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The game runs in a folder of its own, where a watched replay saves nothing.
    const auto folder = std::filesystem::temp_directory_path() / "zarnok-fuzz-playback";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    std::freopen("/dev/null", "w", stdout);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    std::vector<uint8_t> bytes(data, data + size);
    const uint32_t sum = replay_checksum(bytes.data(), size - 4);
    for (int i = 0; i < 4; ++i)
        bytes[size - 4 + i] = static_cast<uint8_t>(sum >> (8 * i));
    Replay replay;
    std::string why;
    // Long games are as sound as short ones, and take the fuzzer's time from the short.
    if (!decode_replay(bytes.data(), size, &replay, &why) || replay.end.passes > 500)
        return 0;
    fake::reset();
    reset_game_globals();
    watch_replay(replay, true);
    reset_game_globals();
    return 0;
}
