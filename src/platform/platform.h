// The one interface between the portable core and the operating system.
// Every service here has a Win32 backend (win32/) and a POSIX backend (posix/) with the same observable behaviour.
#pragma once

#include <cstddef>
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
    // The full path of the open file as given at open time, made absolute; empty when closed.
    [[nodiscard]] const std::wstring& FullPath() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

// Converts 8-bit text in the system's ANSI code page to wide text (Windows-1252 on POSIX systems).
// Stops at the first zero byte or after length bytes, whichever comes first.
[[nodiscard]] std::wstring AnsiToWide(const char* text, size_t length);

// Wide text to UTF-8 (for file names crossing the POSIX boundary and for terminal output).
[[nodiscard]] std::string WideToUtf8(const std::wstring& text);
// UTF-8 to wide text; invalid sequences become U+FFFD.
[[nodiscard]] std::wstring Utf8ToWide(const std::string& text);

} // namespace tw::platform

namespace tw::platform {

// The separator of path components: '\\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr wchar_t kPathSeparator = L'\\';
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

// Where the last component of a path starts (the rule of PathFindFileNameW): after the last separator,
// except that a trailing separator belongs to the last component. 0 when there is no folder part.
[[nodiscard]] size_t FileNameStart(const std::wstring& path);
// Joins folder and name with exactly one separator between them (the rule of PathAppendW).
[[nodiscard]] std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

} // namespace tw::platform
