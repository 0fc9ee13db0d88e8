// Reading the game's files: nothing but a regular file is opened, and none is read beyond the
// size a file of the game may have, so a FIFO, a device or an endless file is never waited on.
#include "store/data_file.h"

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include "store/launch.h"
#include "store/say.h"
#include "store/system_files.h"
#include "store/whole_file.h"

namespace {

static_assert(largest_data_file == 20 << 20);

// Null when the file was read whole; otherwise what is wrong with it.
const char* read_regular_file(const char* path, std::vector<uint8_t>* bytes) {
    const FileRead file = read_whole_file(path, largest_data_file, bytes);
    if (file.state == FileState::read)
        return nullptr;
    if (file.state == FileState::missing)
        return "missing";
    return file.error == EFBIG ? "larger than 20 MB" : describe_error(file.error);
}

std::string installed(const char* name) {
    return std::string(installed_data_folder()) + "/" + name;
}

} // namespace

bool read_data_file(const char* path, std::vector<uint8_t>* bytes, DataCheck check) {
    static std::set<std::string> said;
    const bool player_may_own = std::strpbrk(path, "/\\") == nullptr;
    const std::string places[] = {path, installed(path)};
    // Copied: the words of a problem may stand in a buffer that the next read writes over.
    std::string problems[2];
    int tried = 0, found = -1;
    for (; found < 0 && tried < (player_may_own ? 2 : 1); ++tried) {
        const char* problem = read_regular_file(places[tried].c_str(), bytes);
        if (problem == nullptr && check != nullptr)
            problem = check(*bytes);
        if (problem == nullptr)
            found = tried;
        else if (std::strcmp(problem, "missing") != 0)
            problems[tried] = problem;
    }
    for (int i = 0; i < tried; ++i)
        if (!problems[i].empty() && said.insert(places[i]).second)
            say("%s cannot be used (%s); %s", places[i].c_str(), problems[i].c_str(),
                found > i ? "the installed one serves" : "it counts as missing");
    if (found < 0)
        bytes->clear();
    return found >= 0;
}

bool data_file_present(const char* name) {
    return path_facts(name).exists || path_facts(installed(name)).exists;
}
