// Drives of a POSIX system: the mount points of real file systems (those on a block device, and network
// and container file systems), read from the system's mount table; their type from the mount table, their
// size from statvfs, their label from the system's list of labelled devices.
#include "platform/drives.h"
#include "platform/text.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
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

struct Mount {
    std::string source;
    std::string target;
    std::string type;
};

// The system's mount table in its order; empty when it cannot be read.
std::vector<Mount> MountTable() {
    std::vector<Mount> mounts;
    std::FILE* table = std::fopen("/proc/self/mounts", "r");
    if (table == nullptr) {
        return mounts;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, table) != nullptr) {
        char source[1024] = {};
        char target[2048] = {};
        char type[128] = {};
        if (std::sscanf(line, "%1023s %2047s %127s", source, target, type) == 3) {
            mounts.push_back({Unescape(source), Unescape(target), type});
        }
    }
    std::fclose(table);
    return mounts;
}

std::vector<std::wstring> MountPoints() {
    std::vector<std::wstring> roots;
    for (const Mount& m : MountTable()) {
        if (!IsRealFileSystem(m.source, m.type)) {
            continue;
        }
        std::wstring root = Utf8ToWide(m.target);
        if (root.empty() || root.back() != L'/') {
            root += L'/';
        }
        if (std::find(roots.begin(), roots.end(), root) == roots.end()) {
            roots.push_back(root);
        }
    }
    // "/" first, like the first drive of a Windows machine; the rest in table order.
    auto slash = std::find(roots.begin(), roots.end(), L"/");
    if (slash != roots.end()) {
        std::rotate(roots.begin(), slash, slash + 1);
    } else {
        roots.insert(roots.begin(), L"/");
    }
    return roots;
}

// The mount at a drive root (the last one: a later mount hides an earlier one at the same place).
const Mount* MountAt(const std::vector<Mount>& mounts, const std::wstring& root) {
    std::string target = WideToUtf8(root);
    while (target.size() > 1 && target.back() == '/') {
        target.pop_back();
    }
    for (auto m = mounts.rbegin(); m != mounts.rend(); ++m) {
        if (m->target == target) {
            return &*m;
        }
    }
    return nullptr;
}

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// True when the system marks the block device (or the disk that holds the partition) removable.
bool IsRemovableDevice(const std::string& device) {
    const std::string resolved = RealPath(device);
    const size_t slash = resolved.rfind('/');
    if (resolved.rfind("/dev/", 0) != 0 || slash == std::string::npos) {
        return false;
    }
    const std::string block = RealPath("/sys/class/block/" + resolved.substr(slash + 1));
    for (const std::string& flag : {block + "/removable", block + "/../removable"}) {
        std::ifstream in(flag);
        char c = 0;
        if (in.get(c)) {
            return c == '1';
        }
    }
    return false;
}

// A name of /dev/disk/by-label, where the system escapes bytes as \xHH.
std::string UnescapeLabel(const std::string& name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(name[i + 2])) != 0 &&
            std::isxdigit(static_cast<unsigned char>(name[i + 3])) != 0) {
            out += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
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

uint32_t DriveType(const std::wstring& root) {
    const std::vector<Mount> mounts = MountTable();
    const Mount* m = MountAt(mounts, root);
    if (m == nullptr) {
        return kDriveNoRootDir;
    }
    static const std::set<std::string> kRemote = {"nfs", "nfs4", "cifs", "smb3", "smbfs", "afs", "fuse.sshfs"};
    static const std::set<std::string> kOptical = {"iso9660", "udf"};
    static const std::set<std::string> kRam = {"tmpfs", "ramfs"};
    if (kRemote.count(m->type) != 0) {
        return kDriveRemote;
    }
    if (kOptical.count(m->type) != 0) {
        return kDriveOptical;
    }
    if (kRam.count(m->type) != 0) {
        return kDriveRamDisk;
    }
    return IsRemovableDevice(m->source) ? kDriveRemovable : kDriveFixed;
}

bool DriveSpace(const std::wstring& root, uint64_t& totalBytes, uint64_t& totalFreeBytes) {
    struct statvfs s {};
    if (statvfs(WideToUtf8(root).c_str(), &s) != 0) {
        return false;
    }
    totalBytes = static_cast<uint64_t>(s.f_blocks) * s.f_frsize;
    totalFreeBytes = static_cast<uint64_t>(s.f_bfree) * s.f_frsize;
    return true;
}

bool VolumeLabel(const std::wstring& root, std::wstring& label) {
    struct statvfs s {};
    if (statvfs(WideToUtf8(root).c_str(), &s) != 0) {
        return false;
    }
    std::wstring found;
    const std::vector<Mount> mounts = MountTable();
    const Mount* m = MountAt(mounts, root);
    const std::string device = m != nullptr ? RealPath(m->source) : std::string();
    if (!device.empty()) {
        if (DIR* labels = opendir("/dev/disk/by-label")) {
            while (const dirent* e = readdir(labels)) {
                const std::string name = e->d_name;
                if (name != "." && name != ".." && RealPath("/dev/disk/by-label/" + name) == device) {
                    found = Utf8ToWide(UnescapeLabel(name));
                    break;
                }
            }
            closedir(labels);
        }
    }
    label = found.substr(0, 259);
    return true;
}

} // namespace tw::platform
