#include "disk_file.h"

#include "platform/platform.h"

#include <cstdio>
#include <unistd.h>

namespace tw::fuzz {

const std::wstring& WriteInputToDisk(const uint8_t* data, size_t size) {
    static const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string path = folder + "/tarnwick-fuzz-" + std::to_string(getpid()) + ".omf";
    static const std::wstring widePath = platform::Utf8ToWide(path);
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size != 0) {
            std::fwrite(data, 1, size, f);
        }
        std::fclose(f);
    }
    return widePath;
}

} // namespace tw::fuzz
