// Reading the start of a small file, and writing one whole or not at all, without ever losing
// what the player keeps in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class FileState { read, missing, unreadable };

struct FileRead {
    FileState state;
    int64_t count; // bytes read
    int error;     // why it could not be read: an errno value, or 0 when it is no plain file
};

const char* describe_error(int error);
// Says on stderr that path, which could not be read, is left as it is and what of this game is
// therefore not saved.
void say_kept(const char* path, int error, const char* not_saved);

// Reads up to size bytes of a regular file; anything else (a FIFO, a directory, a file the
// player may not read) is unreadable, and the call never waits.
FileRead read_file_start(const char* path, void* buffer, size_t size);
// Reads a whole regular file of at most `most` bytes, however it grows while it is read; a
// larger one is unreadable (EFBIG).
FileRead read_whole_file(const char* path, size_t most, std::vector<uint8_t>* bytes);

// Replaces the contents of path, following a symbolic link to its target. The bytes go to a
// new file beside it, with the old file's mode, synced and renamed over it, so that path holds
// either the old bytes or all of the new; a file with other hard links, or one in a folder that
// takes no new file, is rewritten in place, the new bytes over the old and then the length set,
// so that it too holds the old table or the new one at every instant. A file the player may
// not write is left alone. Each refusal is said once on stderr, or given in `unsaid` (an errno
// value, 0 when the path is no plain file) for the caller to say. False when nothing was written.
bool write_whole_file(const char* path, const void* bytes, size_t size, int* unsaid = nullptr);

// Set while this process alone saves in the folder it runs in (it holds the folder's lock):
// its saves there then go through one fixed temporary name per file, which the next start finds
// and removes without listing the folder. Otherwise each save takes a fresh unique name.
extern bool sole_saver;
// Removes the temporary file that a save of path, cut short, left in the folder.
void remove_interrupted_save(const char* path);
// Removes every temporary file that saves of the files named, cut short, left in the folder the
// game runs in: the fixed names and the unique ones, plain files only. With `only_old`, where
// another copy of the game may be saving there too (the folder takes no lock), only those left
// more than a minute ago.
void remove_interrupted_saves(const std::vector<std::string>& names, bool only_old);

// From now on `hook` (when not null) is called after each step that changes the disk: within a
// save (after the file is opened or made, before and after each write, after the length is set
// or the file synced, after the rename) and at each move or removal of a kept game, with the
// count of the steps from 1. The tests end the process there to see what a kill at that instant
// leaves behind.
void watch_save_steps(void (*hook)(int step));
// Called by the store after each such step.
void save_step_done();
// From now on the process ends at once, as a kill ends it, after the step given: the end-to-end
// tests cut a sequence of saves there.
void end_process_at_save_step(int step);
