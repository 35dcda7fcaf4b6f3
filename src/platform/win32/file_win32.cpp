// Win32 backend of the read-only file: CreateFileW (on the \\?\ form of the path), GetFileSizeEx, SetFilePointerEx
// and ReadFile.
#include "platform/platform.h"
#include "platform/win32/long_path.h"

#include <windows.h>

namespace tw::platform {

struct ReadOnlyFile::Impl {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::wstring path;
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
    return true;
}

void ReadOnlyFile::Close() {
    if (impl->handle != INVALID_HANDLE_VALUE) {
        CloseHandle(impl->handle);
    }
    impl->handle = INVALID_HANDLE_VALUE;
    impl->path.clear();
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
    LARGE_INTEGER distance{};
    distance.QuadPart = static_cast<LONGLONG>(offset);
    LARGE_INTEGER result{};
    if (!SetFilePointerEx(impl->handle, distance, &result, FILE_BEGIN)) {
        return Position();
    }
    return static_cast<uint64_t>(result.QuadPart);
}

uint32_t ReadOnlyFile::Read(void* destination, uint32_t count) {
    if (impl->handle == INVALID_HANDLE_VALUE) {
        return 0;
    }
    DWORD got = 0;
    if (!ReadFile(impl->handle, destination, count, &got, nullptr)) {
        return 0;
    }
    return got;
}

uint64_t ReadOnlyFile::Position() const {
    if (impl->handle == INVALID_HANDLE_VALUE) {
        return 0;
    }
    LARGE_INTEGER zero{};
    LARGE_INTEGER result{};
    if (!SetFilePointerEx(impl->handle, zero, &result, FILE_CURRENT)) {
        return 0;
    }
    return static_cast<uint64_t>(result.QuadPart);
}

std::wstring MakeFullPath(const std::wstring& path) {
    const std::wstring longPath = detail::LongPath(path);
    return longPath.empty() ? path : detail::WithoutLongPrefix(longPath);
}

const std::wstring& ReadOnlyFile::FullPath() const {
    return impl->path;
}

} // namespace tw::platform
