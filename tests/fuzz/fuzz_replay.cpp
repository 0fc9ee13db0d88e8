// Fuzzing the replay reader: any bytes are refused with a reason, or taken as a replay whose
// events and readings walk to their ends, with as many passes as its end says, and which written
// again gives the same bytes. Each input is read as it is and with its checksum made right, so
// that what lies behind the checksum is fuzzed too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "store/replay_file.h"

namespace {

void read(const uint8_t* data, size_t size) {
    Replay replay;
    std::string why;
    if (!decode_replay(data, size, &replay, &why)) {
        if (why.empty())
            std::abort();
        return;
    }
    ReplayCursor cursor;
    ReplayEvent event{};
    uint64_t passes = 0;
    while (next_event(replay, &cursor, &event))
        passes += event.input == ReplayInput::pass ? 1 : 0;
    int64_t reading = 0;
    while (next_reading(replay, &cursor, &reading)) {
    }
    if (passes != replay.end.passes || encode_replay(replay) != std::vector(data, data + size))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    read(data, size);
    if (size >= 4) {
        std::vector<uint8_t> mended(data, data + size);
        const uint32_t sum = replay_checksum(mended.data(), size - 4);
        for (int i = 0; i < 4; ++i)
            mended[size - 4 + i] = static_cast<uint8_t>(sum >> (8 * i));
        read(mended.data(), size);
    }
    return 0;
}
