// Reading the start of a small file, and writing one whole or not at all, without ever losing
// what the player keeps in it.
#pragma once

#include <cstddef>
#include <cstdint>

enum class FileState { read, missing, unreadable };

struct FileRead {
    FileState state;
    int64_t count; // bytes read
    int error;     // why it could not be read: an errno value, or 0 when it is no plain file
};

const char* describe_error(int error);

// Reads up to size bytes of a regular file; anything else (a FIFO, a directory, a file the
// player may not read) is unreadable, and the call never waits.
FileRead read_file_start(const char* path, void* buffer, size_t size);

// Replaces the contents of path, following a symbolic link to its target. The bytes go to a
// new file beside it, with the old file's mode, synced and renamed over it, so that path holds
// either the old bytes or all of the new; a file with other hard links, or one in a folder that
// takes no new file, is rewritten in place. A file the player may not write is left alone.
// Each refusal is said once on stderr. False when nothing was written.
bool write_whole_file(const char* path, const void* bytes, size_t size);
