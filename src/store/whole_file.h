// Reading the start of a small file, and writing one whole or not at all.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads up to size bytes; the number read, or -1 when the file cannot be opened.
int64_t read_file_start(const char* path, void* buffer, size_t size);

// Writes the bytes to a temporary file beside path, flushes it to disk and renames it over
// path, so that path holds either its old contents or all of the new ones. False on failure.
bool write_whole_file(const char* path, const void* bytes, size_t size);
