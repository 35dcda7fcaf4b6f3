// Win32 backend of the read-only file: CreateFileW (on the \\?\ form of the path), GetFileSizeEx, SetFilePointerEx
// and ReadFile. The position is the object's own, so a seek or a question for the position costs no system call,
// and a reader that goes on where its last read ended is served from reads of 64 KB: a reader that takes a file
// in small pieces then makes one system call for many of them. A read elsewhere in the file moves the system's
// file pointer there and asks for just the bytes it wants, as many as a reader without the buffer would have read.
// (A ReadFile at an explicit offset would save that move, but under Wine it costs more than the move and the
// plain read together.)
#include "platform/platform.h"
#include "platform/win32/long_path.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace tw::platform {

struct ReadOnlyFile::Impl {
    // Reads that go on where the previous system read ended are made this large.
    static constexpr uint32_t kSequentialRead = 64 * 1024;

    HANDLE handle = INVALID_HANDLE_VALUE;
    std::wstring path;
    uint64_t position = 0;
    // The bytes of the file from bufferStart on that the last system read into the buffer gave.
    std::vector<uint8_t> buffer;
    uint64_t bufferStart = 0;
    uint32_t bufferFill = 0;
    // Where the last system read ended, and so where the system's file pointer stands: a read from there on is
    // a sequential one.
    uint64_t readEnd = 0;

    // Reads count bytes at offset from the system; the bytes it gave.
    uint32_t SystemRead(uint64_t offset, void* destination, uint32_t count) {
        if (offset != readEnd) {
            LARGE_INTEGER distance{};
            distance.QuadPart = static_cast<LONGLONG>(offset);
            if (!SetFilePointerEx(handle, distance, nullptr, FILE_BEGIN)) {
                return 0;
            }
            readEnd = offset;
        }
        DWORD got = 0;
        if (!ReadFile(handle, destination, count, &got, nullptr)) {
            return 0;
        }
        readEnd = offset + got;
        return got;
    }

    // Copies what the buffer holds of [position, position + count) when position is in it; the bytes copied.
    uint32_t FromBuffer(uint8_t* out, uint32_t count) {
        if (position < bufferStart || position >= bufferStart + bufferFill) {
            return 0;
        }
        const auto n = static_cast<uint32_t>(std::min<uint64_t>(count, bufferStart + bufferFill - position));
        std::memcpy(out, buffer.data() + (position - bufferStart), n);
        position += n;
        return n;
    }
};

namespace {

// The system's text for the cause of a failed open, without its trailing line break.
std::wstring MessageOf(DWORD code) {
    std::wstring text = SystemErrorText(code);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        text = L"error " + std::to_wstring(code);
    }
    return text;
}

} // namespace

ReadOnlyFile::ReadOnlyFile() : impl(std::make_unique<Impl>()) {}

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

bool ReadOnlyFile::Open(const std::wstring& path, uint32_t& errorCode, std::wstring& errorText) {
    Close();
    const std::wstring longPath = detail::LongPath(path);
    HANDLE h = longPath.empty() ? INVALID_HANDLE_VALUE
                                : CreateFileW(longPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = longPath.empty() ? detail::kUnreachableName : GetLastError();
        errorCode = code;
        errorText = path + L": " + MessageOf(code);
        return false;
    }
    impl->handle = h;
    impl->path = detail::WithoutLongPrefix(longPath);
    impl->position = 0;
    impl->bufferStart = 0;
    impl->bufferFill = 0;
    impl->readEnd = 0;
    return true;
}

void ReadOnlyFile::Close() {
    if (impl->handle != INVALID_HANDLE_VALUE) {
        CloseHandle(impl->handle);
    }
    impl->handle = INVALID_HANDLE_VALUE;
    impl->path.clear();
    impl->position = 0;
    impl->bufferFill = 0;
}

bool ReadOnlyFile::IsOpen() const {
    return impl->handle != INVALID_HANDLE_VALUE;
}

uint64_t ReadOnlyFile::Length() const {
    LARGE_INTEGER size{};
    if (impl->handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(impl->handle, &size)) {
        return 0;
    }
    return static_cast<uint64_t>(size.QuadPart);
}

uint64_t ReadOnlyFile::SeekAbsolute(uint64_t offset) {
    if (impl->handle == INVALID_HANDLE_VALUE) {
        return 0;
    }
    // The system takes a position up to the largest signed 64-bit offset, past the end too.
    if (offset <= static_cast<uint64_t>(INT64_MAX)) {
        impl->position = offset;
    }
    return impl->position;
}

uint32_t ReadOnlyFile::Read(void* destination, uint32_t count) {
    if (impl->handle == INVALID_HANDLE_VALUE || count == 0) {
        return 0;
    }
    Impl& f = *impl;
    auto* out = static_cast<uint8_t*>(destination);
    uint32_t done = f.FromBuffer(out, count);
    if (done == count) {
        return done;
    }
    const uint32_t rest = count - done;
    if (rest >= Impl::kSequentialRead) {
        // A large read goes straight to its destination.
        const uint32_t got = f.SystemRead(f.position, out + done, rest);
        f.position += got;
        return done + got;
    }
    const uint32_t want = f.position == f.readEnd ? Impl::kSequentialRead : rest;
    if (f.buffer.size() < want) {
        f.buffer.resize(Impl::kSequentialRead);
    }
    f.bufferStart = f.position;
    f.bufferFill = f.SystemRead(f.position, f.buffer.data(), want);
    return done + f.FromBuffer(out + done, rest);
}

uint64_t ReadOnlyFile::Position() const {
    return impl->handle == INVALID_HANDLE_VALUE ? 0 : impl->position;
}

std::wstring MakeFullPath(const std::wstring& path) {
    const std::wstring longPath = detail::LongPath(path);
    return longPath.empty() ? path : detail::WithoutLongPrefix(longPath);
}

const std::wstring& ReadOnlyFile::FullPath() const {
    return impl->path;
}

} // namespace tw::platform
