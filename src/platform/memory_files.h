// Memory-backed files, for the fuzz targets and tests: a program that links the library tw_memory_files
// takes its ReadOnlyFile from src/platform/memory/ instead of the system's backend, and every reader of that
// program (index, container, bins) then reads the files put here by path, without a system call. A file may
// present a length larger than its bytes: the gap between its first and its last bytes is a hole of zeros
// that takes no memory. Tarnwick's own programs never link it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw::platform::memory {

// Puts a file at path, replacing what path held: headSize bytes at its start, tailSize bytes at its end,
// zeros between, length bytes in all (at least headSize + tailSize). The bytes are copied.
void PutFile(const std::wstring& path, const uint8_t* head, size_t headSize, const uint8_t* tail = nullptr,
             size_t tailSize = 0, uint64_t length = 0);
// Removes the file at path; files open on it keep their bytes until they are closed.
void RemoveFile(const std::wstring& path);

} // namespace tw::platform::memory
