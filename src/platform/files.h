// Reading a file: the read-only file the readers of indexes, containers and bins work through.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tw::platform {

// Read-only file opened so that other processes may keep reading and writing it.
// Positions are absolute 64-bit offsets from the start of the file.
class ReadOnlyFile {
public:
    ReadOnlyFile();
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // Opens an existing file. On failure returns false and fills errorCode and errorText
    // (the platform's own description of the cause).
    [[nodiscard]] bool Open(const std::wstring& path, uint32_t& errorCode, std::wstring& errorText);
    void Close();
    [[nodiscard]] bool IsOpen() const;

    // The file's current length; 0 when no file is open.
    [[nodiscard]] uint64_t Length() const;
    // Sets the position to an absolute offset; returns the position the platform reports afterwards.
    uint64_t SeekAbsolute(uint64_t offset);
    // Reads up to count bytes at the current position; returns the number of bytes read (0 on failure).
    [[nodiscard]] uint32_t Read(void* destination, uint32_t count);
    [[nodiscard]] uint64_t Position() const;
    // The full path of the open file as given at open time, made absolute as MakeFullPath makes it (on Windows
    // without the \\?\ prefix it was opened through); empty when closed.
    [[nodiscard]] const std::wstring& FullPath() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace tw::platform
