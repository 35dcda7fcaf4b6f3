#include "samples/file_writing.h"

#include "platform/text.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tw::samples {

namespace {

std::FILE* OpenForWriting(const std::wstring& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(platform::WideToUtf8(path).c_str(), "wb");
#endif
}

bool WriteRaw(const std::wstring& path, const void* data, size_t size) {
    std::FILE* f = OpenForWriting(path);
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

std::filesystem::path ToPath(const std::wstring& path) {
#ifdef _WIN32
    return std::filesystem::path(path);
#else
    return std::filesystem::path(platform::WideToUtf8(path));
#endif
}

} // namespace

bool WriteFile(const std::wstring& path, const Bytes& bytes) {
    return WriteRaw(path, bytes.data(), bytes.size());
}

bool WriteFile(const std::wstring& path, const std::string& text) {
    return WriteRaw(path, text.data(), text.size());
}

bool MakeFolders(const std::wstring& path) {
    std::error_code ec;
    std::filesystem::create_directories(ToPath(path), ec);
    return std::filesystem::is_directory(ToPath(path), ec);
}

} // namespace tw::samples
