// Small-file input and output: whole or not at all, whatever the system the game runs on.
#include "store/whole_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "store/say.h"
#include "store/system_files.h"

bool sole_saver = false;

namespace {

// A file rewritten in place is put back as it was if the new bytes do not all go in, when it is
// no larger than this.
constexpr size_t most_kept_back = 64 << 20;

void (*step_hook)(int step) = nullptr;
int steps_done = 0; // since the hook was set

// A short write is a failed one: the caller then keeps the old file. 0, or why it failed.
int write_all(SystemFile file, const void* bytes, size_t size) {
    const auto* data = static_cast<const char*>(bytes);
    for (size_t written = 0; written < size;) {
        save_step_done();
        int error = 0;
        const int64_t n = write_some(file, data + written, size - written, &error);
        if (n <= 0)
            return n == 0 ? ENOSPC : error;
        written += static_cast<size_t>(n);
    }
    return 0;
}

// The path as the player knows it, whole, for saying a refusal once.
std::string absolute(const std::string& path) {
    std::error_code failed;
    const auto utf8 =
        std::filesystem::absolute(
            std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str())), failed)
            .u8string();
    return failed ? path : std::string(utf8.begin(), utf8.end());
}

// Says why path was not saved, once; or, where the caller says it itself, only hands it over.
void refuse(const std::string& path, const char* what, int error, int* unsaid) {
    if (unsaid != nullptr) {
        *unsaid = error;
        return;
    }
    static std::set<std::string> said;
    if (said.insert(absolute(path)).second)
        say("%s %s (%s); it is left as it is", path.c_str(), what, describe_error(error));
}

// Writes the bytes over the file's from its start and sets its length: 0, or why it failed.
int overwrite(const std::string& path, const void* bytes, size_t size) {
    int error = 0;
    const SystemFile file = open_to_rewrite(path, &error);
    if (file == no_file)
        return error;
    save_step_done();
    error = write_all(file, bytes, size);
    save_step_done();
    if (error == 0)
        error = set_length(file, static_cast<int64_t>(size));
    save_step_done();
    if (error == 0)
        error = sync_file(file);
    if (const int closing = close_file(file); error == 0)
        error = closing;
    return error;
}

// The new bytes go over the old ones, and only then is the length set: the file never passes
// through an empty or short state, and what the game reads of it is the old table or the new.
// Where the new bytes do not all go in (a full disk, a file growing past a limit), the old ones
// are put back.
bool rewrite_in_place(const std::string& path, const void* bytes, size_t size, int* unsaid) {
    std::vector<uint8_t> old;
    const bool old_read =
        read_whole_file(path.c_str(), most_kept_back, &old).state == FileState::read;
    const int error = overwrite(path, bytes, size);
    if (error == 0)
        return true;
    if (old_read)
        overwrite(path, old.data(), old.size());
    refuse(path, "could not be saved", error, unsaid);
    return false;
}

// Only in the folder it holds does this copy save through one fixed temporary name per file.
bool fixed_temporary(const std::string& target, std::string* name) {
    *name = target + ".saving";
    return sole_saver && target.find('/') == std::string::npos;
}

// A new file beside target, created exclusively, never through a link. In the folder this copy
// alone saves in, the fixed name is free or a leftover of a save cut short, which may go; a
// link or a folder of that name stays, and a unique name serves instead.
SystemFile create_temporary(const std::string& target, uint32_t mode, std::string* name,
                            int* error) {
    if (fixed_temporary(target, name)) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const SystemFile file = create_file(name, false, mode, error);
            if (file != no_file || *error != EEXIST)
                return file;
            remove_interrupted_save(target.c_str());
        }
    }
    *name = target + ".saving";
    return create_file(name, true, mode, error);
}

// Gives the temporary file the bytes, on the disk: the errno of the step that failed, or 0.
int fill(SystemFile file, const void* bytes, size_t size) {
    save_step_done();
    int error = write_all(file, bytes, size);
    save_step_done();
    if (error == 0)
        error = sync_file(file);
    save_step_done();
    if (const int closing = close_file(file); error == 0)
        error = closing;
    return error;
}

// A regular file opened for reading without waiting, or no_file with what the reader is told.
SystemFile open_for_reading(const char* path, int64_t* size, FileRead* failure) {
    int error = 0;
    const SystemFile file = open_regular(path, size, &error);
    if (file == no_file)
        *failure = {error == ENOENT || error == ENOTDIR ? FileState::missing
                                                        : FileState::unreadable,
                    0, error};
    return file;
}

// Reads up to size bytes, as many as the file holds.
FileRead read_and_close(SystemFile file, void* buffer, size_t size) {
    size_t count = 0;
    while (count < size) {
        int error = 0;
        const int64_t n = read_some(file, static_cast<char*>(buffer) + count, size - count, &error);
        if (n < 0) {
            close_file(file);
            return {FileState::unreadable, 0, error};
        }
        if (n == 0)
            break;
        count += static_cast<size_t>(n);
    }
    close_file(file);
    return {FileState::read, static_cast<int64_t>(count), 0};
}

} // namespace

const char* describe_error(int error) {
    return error == 0 ? "not a plain file" : std::strerror(error);
}

void say_kept(const char* path, int error, const char* not_saved) {
    say("%s cannot be read (%s); it is left as it is, and this game's %s are not saved", path,
        describe_error(error), not_saved);
}

FileRead read_file_start(const char* path, void* buffer, size_t size) {
    int64_t length = 0;
    FileRead file{};
    const SystemFile opened = open_for_reading(path, &length, &file);
    if (opened != no_file)
        file = read_and_close(opened, buffer, size);
    return file;
}

FileRead read_whole_file(const char* path, size_t most, std::vector<uint8_t>* bytes) {
    int64_t length = 0;
    FileRead file{};
    bytes->clear();
    const SystemFile opened = open_for_reading(path, &length, &file);
    if (opened == no_file)
        return file;
    if (static_cast<uint64_t>(length) > most) {
        close_file(opened);
        return {FileState::unreadable, 0, EFBIG};
    }
    // One byte more than the file says it holds, to see its end; more as it grows, up to most.
    bytes->resize(static_cast<size_t>(length) + 1);
    size_t count = 0;
    int error = 0;
    for (;;) {
        if (count == bytes->size()) {
            if (count > most) {
                error = EFBIG;
                break;
            }
            bytes->resize(std::min(2 * count, most + 1));
        }
        const int64_t n = read_some(opened, bytes->data() + count, bytes->size() - count, &error);
        if (n <= 0)
            break;
        count += static_cast<size_t>(n);
    }
    close_file(opened);
    bytes->resize(error == 0 ? count : 0);
    return error == 0 ? FileRead{FileState::read, static_cast<int64_t>(count), 0}
                      : FileRead{FileState::unreadable, 0, error};
}

bool write_whole_file(const char* path, const void* bytes, size_t size, int* unsaid) {
    const std::string target = link_target(path);
    const PathFacts old = path_facts(target);
    if (old.exists && !old.regular) {
        refuse(target, "cannot be saved", 0, unsaid);
        return false;
    }
    if (old.exists && !old.writable) {
        refuse(target, "may not be written", old.write_error, unsaid);
        return false;
    }
    if (old.exists && old.links > 1)
        return rewrite_in_place(target, bytes, size, unsaid); // keeps every name of it
    std::string temporary;
    int error = 0;
    const SystemFile file =
        create_temporary(target, old.exists ? old.mode : new_file_mode(), &temporary, &error);
    if (file == no_file) {
        if (old.exists)
            return rewrite_in_place(target, bytes, size, unsaid);
        refuse(target, "cannot be created", error, unsaid);
        return false;
    }
    error = fill(file, bytes, size);
    if (error != 0)
        remove_file(temporary);
    // A disk too full for a second copy may still take the new bytes over the old ones.
    if (error != 0 && old.exists && is_out_of_room(error))
        return rewrite_in_place(target, bytes, size, unsaid);
    if (error == 0)
        error = replace_file(temporary, target);
    save_step_done();
    if (error != 0) {
        refuse(target, "could not be saved", error, unsaid);
        remove_file(temporary);
        return false;
    }
    sync_folder_of(target);
    return true;
}

void watch_save_steps(void (*hook)(int step)) {
    step_hook = hook;
    steps_done = 0;
}

void save_step_done() {
    ++steps_done;
    if (step_hook != nullptr)
        step_hook(steps_done);
}

void end_process_at_save_step(int step) {
    static int last_step = 0;
    last_step = step;
    watch_save_steps([](int done) {
        if (done == last_step)
            std::_Exit(137);
    });
}

void remove_interrupted_save(const char* path) {
    std::string temporary;
    if (fixed_temporary(link_target(path), &temporary) && path_facts(temporary).regular)
        remove_file(temporary);
}

void remove_interrupted_saves(const std::vector<std::string>& names, bool only_old) {
    namespace fs = std::filesystem;
    std::error_code failed;
    const auto now = fs::file_time_type::clock::now();
    for (const fs::directory_entry& entry : fs::directory_iterator(".", failed)) {
        const auto utf8 = entry.path().filename().u8string();
        const std::string name(utf8.begin(), utf8.end());
        const size_t suffix = name.find(".saving");
        bool ours = false;
        for (const std::string& saved : names)
            ours = ours || (suffix == saved.size() && name.compare(0, suffix, saved) == 0);
        // The fixed name, or a unique one: a dash and six letters or digits.
        const std::string rest = ours ? name.substr(suffix + 7) : "";
        const bool pattern =
            rest.empty() || (rest.size() == 7 && rest[0] == '-' &&
                             std::all_of(rest.begin() + 1, rest.end(),
                                         [](unsigned char c) { return std::isalnum(c) != 0; }));
        if (!ours || !pattern || !path_facts(name).regular)
            continue;
        const auto written = fs::last_write_time(entry.path(), failed);
        if (!only_old || (!failed && now - written > std::chrono::minutes(1)))
            remove_file(name);
    }
}
