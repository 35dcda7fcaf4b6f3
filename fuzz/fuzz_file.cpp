#include "fuzz_file.h"

#include "platform/platform.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tw::fuzz {

namespace {

const std::string& ScratchPath() {
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = folder + "/tarnwick-fuzz-" + std::to_string(getpid());
    return path;
}

bool WriteAt(int fd, const uint8_t* data, size_t size, off_t offset) {
    while (size != 0) {
        const ssize_t n = pwrite(fd, data, size, offset);
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

} // namespace

const std::wstring& WriteInputSpread(const uint8_t* data, size_t size, size_t tailSize, uint64_t fileLength) {
    static const std::wstring widePath = platform::Utf8ToWide(ScratchPath());
    const int fd = open(ScratchPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) {
        return widePath;
    }
    const size_t tail = tailSize < size ? tailSize : size;
    const size_t head = size - tail;
    if (ftruncate(fd, static_cast<off_t>(fileLength)) == 0) {
        (void)WriteAt(fd, data, head, 0);
        (void)WriteAt(fd, data + head, tail, static_cast<off_t>(fileLength - tail));
    }
    close(fd);
    return widePath;
}

const std::wstring& WriteInput(const uint8_t* data, size_t size) {
    const std::string& path = ScratchPath();
    static const std::wstring widePath = platform::Utf8ToWide(path);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
        if (size != 0) {
            std::fwrite(data, 1, size, f);
        }
        std::fclose(f);
    }
    return widePath;
}

} // namespace tw::fuzz
