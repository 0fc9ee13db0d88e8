// The calls the game's files make of the system, answered on POSIX or on Windows. Paths are
// UTF-8 here and UTF-16 at every Windows call; a failure is an errno value (Windows' own errors
// mapped onto them).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An open file: a descriptor or a handle.
using SystemFile = intptr_t;
constexpr SystemFile no_file = -1;

// What a path names, its last link not followed; nothing, as far as the game can tell, when the
// system cannot say.
struct PathFacts {
    bool exists;
    bool regular;    // a plain file, neither a link, a folder, a FIFO nor a device
    bool writable;   // this player may write it
    int write_error; // why not
    uint32_t links;  // names of the same file
    uint32_t mode;   // its permission bits (0 where the system has none)
};
PathFacts path_facts(const std::string& path);
// The file a chain of symbolic links ends at, which need not exist yet.
std::string link_target(const std::string& path);

// A plain file opened for reading without waiting, and its size; otherwise no_file, with why
// (0 when the path names something other than a plain file).
SystemFile open_regular(const std::string& path, int64_t* size, int* error);
// Reads up to `size` bytes: how many, 0 at the end, -1 with why.
int64_t read_some(SystemFile file, void* buffer, size_t size, int* error);

// An existing file opened to be written over, never through a link and without waiting.
SystemFile open_to_rewrite(const std::string& path, int* error);
// A new file made exclusively, never through a link, with `mode` (where the system has modes):
// at *name, or with `unique`, at *name followed by a suffix no other file has, which *name is
// given.
SystemFile create_file(std::string* name, bool unique, uint32_t mode, int* error);
// Writes up to `size` bytes: how many, or -1 with why.
int64_t write_some(SystemFile file, const void* bytes, size_t size, int* error);
// Each of these is 0, or why it failed.
int set_length(SystemFile file, int64_t length);
int sync_file(SystemFile file);
int close_file(SystemFile file);
// `from` takes the place of `to` in one step, reaching the disk before it returns.
int replace_file(const std::string& from, const std::string& to);
int remove_file(const std::string& path);
// The folder that holds `path` keeps its names on the disk.
void sync_folder_of(const std::string& path);
// Whether an error says the disk (or the player's share of it) is full.
bool is_out_of_room(int error);
// The mode a file the game makes takes by default (0666 less the umask; 0 without modes).
uint32_t new_file_mode();
