// Drives of a POSIX system: the mount points of real file systems (those on a block device, and network
// and container file systems), read from the system's mount table.
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace tw::platform {

namespace {

bool IsRealFileSystem(const std::string& source, const std::string& type) {
    static const std::set<std::string> kTypes = {"nfs",      "nfs4", "cifs",  "smb3",    "smbfs",
                                                 "overlay",  "zfs",  "btrfs", "fuseblk", "9p",
                                                 "virtiofs", "apfs", "hfs",   "hfsplus", "exfat"};
    return source.rfind("/dev/", 0) == 0 || kTypes.count(type) != 0;
}

// Mount table fields escape blanks as octal sequences ("\040").
std::string Unescape(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        const bool octal = field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
                           field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7';
        if (octal) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<std::wstring> MountPoints() {
    std::vector<std::wstring> roots;
    std::FILE* table = std::fopen("/proc/self/mounts", "r");
    if (table == nullptr) {
        roots.push_back(L"/");
        return roots;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, table) != nullptr) {
        char source[1024] = {};
        char target[2048] = {};
        char type[128] = {};
        if (std::sscanf(line, "%1023s %2047s %127s", source, target, type) != 3) {
            continue;
        }
        if (!IsRealFileSystem(source, type)) {
            continue;
        }
        std::wstring root = Utf8ToWide(Unescape(target));
        if (root.empty() || root.back() != L'/') {
            root += L'/';
        }
        if (std::find(roots.begin(), roots.end(), root) == roots.end()) {
            roots.push_back(root);
        }
    }
    std::fclose(table);
    // "/" first, like the first drive of a Windows machine; the rest in table order.
    auto slash = std::find(roots.begin(), roots.end(), L"/");
    if (slash != roots.end()) {
        std::rotate(roots.begin(), slash, slash + 1);
    } else {
        roots.insert(roots.begin(), L"/");
    }
    return roots;
}

} // namespace

uint32_t DriveStrings(uint32_t bufferLength, wchar_t* buffer) {
    std::wstring list;
    for (const std::wstring& root : MountPoints()) {
        list += root;
        list += L'\0';
    }
    const auto needed = static_cast<uint32_t>(list.size() + 1);
    if (buffer == nullptr || bufferLength < needed) {
        return needed;
    }
    std::copy(list.begin(), list.end(), buffer);
    buffer[list.size()] = L'\0';
    return static_cast<uint32_t>(list.size());
}

} // namespace tw::platform
