// Folder listing and path helpers for POSIX systems, with the observable rules of the Win32 backend.
#include "platform/folders.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tw::platform {

namespace {

constexpr uint64_t kUnixEpochInFileTime = 116444736000000000ull; // 1970-01-01 as a FILETIME

uint64_t ToFileTime(int64_t seconds, uint32_t nanoseconds) {
    if (seconds < -11644473600LL) {
        return 0;
    }
    return static_cast<uint64_t>(seconds * 10000000LL + static_cast<int64_t>(kUnixEpochInFileTime)) + nanoseconds / 100;
}

std::string Native(const std::wstring& path) {
    return WideToUtf8(path);
}

// Fills an entry from the file system; symbolic links are followed, as Windows follows them for files, and
// marked as reparse points, as Windows marks them. path is taken relative to the folder open as folderFd
// (AT_FDCWD: the current directory). isLink: whether the entry itself is a symbolic link, when the listing
// already tells; otherwise it is looked up.
bool Describe(int folderFd, const char* path, FolderEntry& entry, std::optional<bool> isLink = std::nullopt) {
    if (!isLink) {
        struct stat own {};
        isLink = fstatat(folderFd, path, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode);
    }
    struct statx sx {};
    if (statx(folderFd, path, 0, STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BTIME | STATX_MTIME, &sx) != 0) {
        struct stat st {};
        if (fstatat(folderFd, path, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            return false;
        }
        // A dangling link: listed as a link to a file of size 0.
        entry.attributes = S_ISLNK(st.st_mode) ? kAttributeReparsePoint : kAttributeNormal;
        entry.creationTime = ToFileTime(st.st_mtim.tv_sec, static_cast<uint32_t>(st.st_mtim.tv_nsec));
        entry.size = 0;
        return true;
    }
    const bool folder = S_ISDIR(sx.stx_mode);
    entry.attributes = folder ? kAttributeDirectory : 0;
    if ((sx.stx_mode & S_IWUSR) == 0) {
        entry.attributes |= kAttributeReadOnly;
    }
    if (*isLink) {
        entry.attributes |= kAttributeReparsePoint;
    }
    if (entry.attributes == 0) {
        entry.attributes = kAttributeNormal;
    }
    const statx_timestamp& t = (sx.stx_mask & STATX_BTIME) != 0 ? sx.stx_btime : sx.stx_mtime;
    entry.creationTime = ToFileTime(t.tv_sec, t.tv_nsec);
    entry.size = folder ? 0 : sx.stx_size;
    return true;
}

// The entry's name from the listing's UTF-8; an ASCII name, as most are, goes into name's own storage.
void SetName(std::wstring& name, const char* utf8) {
    size_t n = 0;
    while (utf8[n] != 0 && static_cast<unsigned char>(utf8[n]) < 0x80) {
        ++n;
    }
    if (utf8[n] != 0) {
        name = Utf8ToWide(utf8);
        return;
    }
    name.assign(utf8, utf8 + n);
}

// kindsOnly: plain files and folders are described by the listing alone; links and entries of unknown kind
// are still looked up.
template <typename Each> bool Walk(const std::wstring& folder, Each&& each, bool kindsOnly = false) {
    const std::string native = Native(folder);
    DIR* dir = opendir(native.c_str());
    if (dir == nullptr) {
        return false;
    }
    // Each entry is described relative to the open folder, so that its path is not looked up again.
    const int folderFd = dirfd(dir);
    FolderEntry entry;
    while (const dirent* d = readdir(dir)) {
        if (kindsOnly && (d->d_type == DT_REG || d->d_type == DT_DIR)) {
            entry.attributes = d->d_type == DT_DIR ? kAttributeDirectory : kAttributeNormal;
            entry.size = 0;
            entry.creationTime = 0;
        } else {
            const std::optional<bool> isLink =
                d->d_type == DT_UNKNOWN ? std::nullopt : std::optional<bool>(d->d_type == DT_LNK);
            if (!Describe(folderFd, d->d_name, entry, isLink)) {
                continue; // vanished while listed
            }
        }
        SetName(entry.name, d->d_name);
        each(entry);
    }
    closedir(dir);
    return true;
}

} // namespace

bool ListFolder(const std::wstring& folder, const EntryVisitor& visit) {
    return Walk(folder, visit);
}

bool ListFolderKinds(const std::wstring& folder, const EntryVisitor& visit) {
    return Walk(folder, visit, true);
}

bool GetEntry(const std::wstring& path, FolderEntry& entry) {
    if (path.empty()) {
        return false;
    }
    const size_t start = FileNameStart(path);
    entry.name = path.substr(start);
    return Describe(AT_FDCWD, Native(path).c_str(), entry);
}

bool GetFolderId(const std::wstring& path, FolderId& id) {
    struct stat st {};
    if (path.empty() || stat(Native(path).c_str(), &st) != 0) {
        return false;
    }
    id.volume = static_cast<uint64_t>(st.st_dev);
    id.index = static_cast<uint64_t>(st.st_ino);
    return id.index != 0;
}

bool FindEntriesIgnoringCase(const std::wstring& folder, const std::wstring& name, const EntryVisitor& visit) {
    bool found = false;
    Walk(folder, [&](const FolderEntry& entry) {
        if (EqualIgnoringCase(entry.name, name)) {
            found = true;
            visit(entry);
        }
    });
    return found;
}

std::wstring RemoveFileSpec(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'/');
    if (slash == std::wstring::npos) {
        return std::wstring();
    }
    if (slash == 0) {
        return L"/";
    }
    return path.substr(0, slash);
}

std::wstring FindExtension(const std::wstring& path) {
    size_t dot = std::wstring::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == L'/' || path[i] == L' ') {
            dot = std::wstring::npos;
        } else if (path[i] == L'.') {
            dot = i;
        }
    }
    return dot == std::wstring::npos ? std::wstring() : path.substr(dot);
}

bool IsRelativePath(const std::wstring& path) {
    return path.empty() || path[0] != L'/';
}

std::wstring RemoveTrailingSeparator(const std::wstring& path) {
    if (path.size() > 1 && path.back() == L'/') {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

bool IsSameRoot(const std::wstring& a, const std::wstring& b) {
    // A path that does not exist yet lies on the device of its nearest existing ancestor.
    auto device = [](std::wstring path, dev_t& out) {
        for (;;) {
            struct stat st {};
            if (!path.empty() && stat(Native(path).c_str(), &st) == 0) {
                out = st.st_dev;
                return true;
            }
            const std::wstring parent = RemoveFileSpec(path);
            if (parent.empty() || parent == path) {
                return false;
            }
            path = parent;
        }
    };
    dev_t da = 0;
    dev_t db = 0;
    return device(a, da) && device(b, db) && da == db;
}

bool PathExists(const std::wstring& path) {
    struct stat st {};
    return !path.empty() && stat(Native(path).c_str(), &st) == 0;
}

bool IsFolder(const std::wstring& path) {
    struct stat st {};
    return !path.empty() && stat(Native(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace tw::platform
