// Small-file input and output: whole or not at all, whatever the system the game runs on.
#include "store/whole_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "store/say.h"
#include "store/system_files.h"

bool sole_saver = false;
void (*after_save_step)(int step) = nullptr;

namespace {

int steps_done = 0; // in the save under way

// Between two system calls of a save that change what is on disk.
void step_done() {
    ++steps_done;
    if (after_save_step != nullptr)
        after_save_step(steps_done);
}

// A short write is a failed one: the caller then keeps the old file. 0, or why it failed.
int write_all(SystemFile file, const void* bytes, size_t size) {
    const auto* data = static_cast<const char*>(bytes);
    for (size_t written = 0; written < size;) {
        step_done();
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

// The new bytes go over the old ones, and only then is the length set: the file never passes
// through an empty or short state, and what the game reads of it is the old table or the new.
bool rewrite_in_place(const std::string& path, const void* bytes, size_t size, int* unsaid) {
    int error = 0;
    const SystemFile file = open_to_rewrite(path, &error);
    if (file == no_file) {
        refuse(path, "cannot be written", error, unsaid);
        return false;
    }
    step_done();
    bool saved = write_all(file, bytes, size) == 0;
    step_done();
    saved = saved && set_length(file, static_cast<int64_t>(size)) == 0;
    step_done();
    saved = saved && sync_file(file) == 0;
    return close_file(file) == 0 && saved;
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

// Gives the temporary file the bytes, and renames it over target: the errno of the step that
// failed, or 0.
int fill_and_rename(SystemFile file, const std::string& temporary, const std::string& target,
                    const void* bytes, size_t size) {
    step_done();
    int error = write_all(file, bytes, size);
    step_done();
    if (error == 0)
        error = sync_file(file);
    step_done();
    if (const int closing = close_file(file); error == 0)
        error = closing;
    if (error == 0)
        error = replace_file(temporary, target);
    step_done();
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
    steps_done = 0;
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
    if (error = fill_and_rename(file, temporary, target, bytes, size); error != 0) {
        refuse(target, "could not be saved", error, unsaid);
        remove_file(temporary);
        return false;
    }
    sync_folder_of(target);
    return true;
}

void end_process_at_save_step(int step) {
    static int last_step = 0, steps_taken = 0;
    last_step = step;
    after_save_step = [](int) {
        if (++steps_taken == last_step)
            std::_Exit(137);
    };
}

void remove_interrupted_save(const char* path) {
    std::string temporary;
    if (fixed_temporary(link_target(path), &temporary) && path_facts(temporary).regular)
        remove_file(temporary);
}
