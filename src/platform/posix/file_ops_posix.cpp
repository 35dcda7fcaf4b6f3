// File operations of the POSIX backend: a chunked copy that reports progress and looks at the cancel flag,
// rename, unlink, fsync, the read-only bit as the owner's write permission, mkdir of every missing parent, and
// st_dev and st_ino as a file's identity.
#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/text.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tw::platform {

namespace {

std::string Native(const std::wstring& path) {
    return WideToUtf8(path);
}

uint32_t LastError() {
    return static_cast<uint32_t>(errno);
}

bool Cancelled(const CancelFlag* cancel) {
    return cancel != nullptr && *cancel != 0;
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int Get() const { return fd; }
    // Closes now and answers whether everything written reached the file.
    bool Close() {
        const int result = ::close(fd);
        fd = -1;
        return result == 0;
    }

private:
    int fd;
};

bool WriteAll(int fd, const char* data, size_t count) {
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

// Copies the open source into the open target; 0 or the error code.
uint32_t CopyData(int from, int to, uint64_t size, const CopyProgressRoutine& routine, const CancelFlag* cancel) {
    constexpr size_t kChunk = 1 << 20;
    std::vector<char> buffer(kChunk);
    uint64_t copied = 0;
    if (routine) {
        routine(0, size);
    }
    for (;;) {
        if (Cancelled(cancel)) {
            return kErrorRequestAborted;
        }
        const ssize_t n = ::read(from, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return LastError();
        }
        if (n == 0) {
            return 0;
        }
        if (!WriteAll(to, buffer.data(), static_cast<size_t>(n))) {
            return LastError();
        }
        copied += static_cast<uint64_t>(n);
        if (routine) {
            // A file that grows while it is copied reports its new length rather than a count past its size.
            routine(copied, copied > size ? copied : size);
        }
    }
}

// Writes the entries of the folder that holds path to the disk: 0 or the error code.
uint32_t FlushFolderOf(const std::wstring& path) {
    const std::string folder = Native(RemoveFileSpec(path));
    Descriptor parent(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (parent.Get() < 0) {
        return LastError();
    }
    // Some file systems cannot flush a folder (EINVAL); their entries are written with the data.
    if (::fsync(parent.Get()) != 0 && errno != EINVAL) {
        return LastError();
    }
    return 0;
}

} // namespace

uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                              const CopyProgressRoutine& routine, CancelFlag* cancel) {
    if (Cancelled(cancel)) {
        return kErrorRequestAborted;
    }
    const std::string from = Native(source);
    const std::string to = Native(target);
    Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (in.Get() < 0 || fstat(in.Get(), &st) != 0) {
        return LastError();
    }
    if (S_ISDIR(st.st_mode)) {
        return EISDIR;
    }
    // An existing target is opened without emptying it, so that a copy onto the source itself is refused before
    // it does harm (Windows refuses it too, with a sharing violation).
    bool created = true;
    int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
    if (fd < 0 && errno == EEXIST) {
        created = false;
        fd = ::open(to.c_str(), O_WRONLY | O_CLOEXEC);
    }
    Descriptor out(fd);
    if (out.Get() < 0) {
        return LastError();
    }
    if (!created) {
        struct stat existing {};
        if (fstat(out.Get(), &existing) != 0) {
            return LastError();
        }
        if (existing.st_dev == st.st_dev && existing.st_ino == st.st_ino) {
            return EBUSY;
        }
        if (::ftruncate(out.Get(), 0) != 0) {
            return LastError();
        }
    }
    uint32_t result = CopyData(in.Get(), out.Get(), static_cast<uint64_t>(st.st_size), routine, cancel);
    if (result == 0) {
        // The copy keeps the source's modification time, as the Windows copy keeps its last write time.
        const timespec times[2] = {st.st_atim, st.st_mtim};
        futimens(out.Get(), times);
    }
    if (!out.Close() && result == 0) {
        result = LastError();
    }
    if (result != 0) {
        // What was written is no copy of the source: nothing of it stays.
        ::unlink(to.c_str());
    }
    return result;
}

uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) {
    if (::rename(Native(source).c_str(), Native(target).c_str()) != 0) {
        return LastError();
    }
    // The new name is on the disk only once the target's folder is.
    return FlushFolderOf(target);
}

uint32_t RemoveFile(const std::wstring& path) {
    const std::string name = Native(path);
    struct stat st {};
    if (lstat(name.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return EISDIR;
        }
        if (S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0) {
            return EACCES;
        }
    }
    return ::unlink(name.c_str()) == 0 ? 0 : LastError();
}

uint32_t FlushFile(const std::wstring& path) {
    const std::string name = Native(path);
    {
        Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
        if (file.Get() < 0 || ::fsync(file.Get()) != 0) {
            return LastError();
        }
    }
    // The file's entry in its folder must reach the disk too.
    return FlushFolderOf(path);
}

bool QueryFileIdentity(const std::wstring& path, FileIdentity& identity) {
    struct stat st {};
    if (path.empty() || ::stat(Native(path).c_str(), &st) != 0) {
        return false;
    }
    identity.volume = static_cast<uint64_t>(st.st_dev);
    identity.index = static_cast<uint64_t>(st.st_ino);
    identity.size = static_cast<uint64_t>(st.st_size);
    return true;
}

uint32_t ReadAttributes(const std::wstring& path) {
    struct stat st {};
    if (::stat(Native(path).c_str(), &st) != 0) {
        return kInvalidAttributes;
    }
    uint32_t attributes = S_ISDIR(st.st_mode) ? kAttributeDirectory : 0;
    if ((st.st_mode & S_IWUSR) == 0) {
        attributes |= kAttributeReadOnly;
    }
    return attributes == 0 ? kAttributeNormal : attributes;
}

uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes) {
    const std::string name = Native(path);
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) {
        return LastError();
    }
    mode_t mode = st.st_mode & 07777;
    mode = (attributes & kAttributeReadOnly) != 0 ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH))
                                                  : (mode | S_IWUSR);
    return ::chmod(name.c_str(), mode) == 0 ? 0 : LastError();
}

uint32_t CreateFolderWithParents(const std::wstring& path) {
    if (IsRelativePath(path)) {
        return kFolderBadPathName;
    }
    const std::string name = Native(path);
    if (::mkdir(name.c_str(), 0777) == 0) {
        return 0;
    }
    if (errno == ENOENT) {
        const std::wstring parent = RemoveFileSpec(RemoveTrailingSeparator(path));
        if (parent != path && !parent.empty()) {
            const uint32_t made = CreateFolderWithParents(parent);
            if (made != 0 && made != kFolderAlreadyExists) {
                return made;
            }
            if (::mkdir(name.c_str(), 0777) == 0) {
                return 0;
            }
        }
    }
    switch (errno) {
    case EEXIST:
        return kFolderAlreadyExists;
    case ENOENT:
    case ENOTDIR:
        return kFolderPathNotFound;
    case ENAMETOOLONG:
        return kFolderNameTooLong;
    default:
        return LastError();
    }
}

} // namespace tw::platform
