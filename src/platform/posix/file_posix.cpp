// POSIX backend of the read-only file: open, fstat, lseek and read.
#include "platform/files.h"
#include "platform/path_core.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "platform/text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tw::platform {

struct ReadOnlyFile::Impl {
    int fd = -1;
    std::wstring path;
};

namespace {

// Lexically absolute, like the Windows full-path rule: "." and ".." components are taken out, and no
// symbolic links are resolved.
std::wstring MakeAbsolute(const std::wstring& path) {
    if (!path.empty() && path[0] == L'/') {
        return detail::NormalizeComponents(path, 1, L'/');
    }
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) {
        return path;
    }
    return detail::NormalizeComponents(JoinPath(Utf8ToWide(buffer), path), 1, L'/');
}

} // namespace

std::wstring MakeFullPath(const std::wstring& path) {
    return path.empty() ? path : MakeAbsolute(path);
}

ReadOnlyFile::ReadOnlyFile() : impl(std::make_unique<Impl>()) {}

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

bool ReadOnlyFile::Open(const std::wstring& path, uint32_t& errorCode, std::wstring& errorText) {
    Close();
    const std::string name = WideToUtf8(path);
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
            errno = EISDIR;
        }
    }
    if (fd < 0) {
        errorCode = static_cast<uint32_t>(errno);
        errorText = path + L": " + SystemErrorText(errorCode);
        return false;
    }
    impl->fd = fd;
    impl->path = MakeAbsolute(path);
    return true;
}

void ReadOnlyFile::Close() {
    if (impl->fd >= 0) {
        ::close(impl->fd);
    }
    impl->fd = -1;
    impl->path.clear();
}

bool ReadOnlyFile::IsOpen() const {
    return impl->fd >= 0;
}

uint64_t ReadOnlyFile::Length() const {
    struct stat st {};
    if (impl->fd < 0 || fstat(impl->fd, &st) != 0) {
        return 0;
    }
    return static_cast<uint64_t>(st.st_size);
}

uint64_t ReadOnlyFile::SeekAbsolute(uint64_t offset) {
    if (impl->fd < 0) {
        return 0;
    }
    const off_t result = lseek(impl->fd, static_cast<off_t>(offset), SEEK_SET);
    return result < 0 ? Position() : static_cast<uint64_t>(result);
}

uint32_t ReadOnlyFile::Read(void* destination, uint32_t count) {
    if (impl->fd < 0) {
        return 0;
    }
    uint32_t total = 0;
    auto* out = static_cast<unsigned char*>(destination);
    while (total < count) {
        const ssize_t n = ::read(impl->fd, out + total, count - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        total += static_cast<uint32_t>(n);
    }
    return total;
}

uint64_t ReadOnlyFile::Position() const {
    if (impl->fd < 0) {
        return 0;
    }
    const off_t result = lseek(impl->fd, 0, SEEK_CUR);
    return result < 0 ? 0 : static_cast<uint64_t>(result);
}

const std::wstring& ReadOnlyFile::FullPath() const {
    return impl->path;
}

} // namespace tw::platform
