// File operations of the Win32 backend: CopyFileExW, MoveFileExW, DeleteFileW, FlushFileBuffers,
// Get/SetFileAttributesW, SHCreateDirectoryExW and CreateDirectoryW, and GetFileInformationByHandle. Every path
// reaches the system in its \\?\ form, so that an operation acts on exactly the file its name spells.
#include "platform/platform.h"
#include "platform/win32/long_path.h"

#include <shlobj.h>
#include <windows.h>

#include <type_traits>

namespace tw::platform {

static_assert(std::is_same_v<CancelFlag, BOOL>, "the cancel flag is handed to CopyFileExW as it is");

namespace {

using detail::kUnreachableName;
using detail::LongPath;

struct CopyContext {
    const CopyProgressRoutine* routine;
    bool reported;
};

DWORD CALLBACK CopyRoutine(LARGE_INTEGER size, LARGE_INTEGER copied, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE,
                           HANDLE, LPVOID data) {
    auto* context = static_cast<CopyContext*>(data);
    context->reported = true;
    (*context->routine)(static_cast<uint64_t>(copied.QuadPart), static_cast<uint64_t>(size.QuadPart));
    return PROGRESS_CONTINUE;
}

uint32_t Result(BOOL ok) {
    return ok ? 0 : static_cast<uint32_t>(GetLastError());
}

} // namespace

uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                              const CopyProgressRoutine& routine, CancelFlag* cancel) {
    // Some implementations of the system copy never look at the flag: a set flag refuses the copy here.
    if (cancel != nullptr && *cancel != 0) {
        return kErrorRequestAborted;
    }
    const std::wstring from = LongPath(source);
    const std::wstring to = LongPath(target);
    if (from.empty() || to.empty()) {
        return kUnreachableName;
    }
    const bool targetExisted = GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES;
    CopyContext context{&routine, false};
    if (!CopyFileExW(from.c_str(), to.c_str(), routine ? CopyRoutine : nullptr, &context, cancel, 0)) {
        const DWORD code = GetLastError();
        // Windows removes what a failed copy wrote; some implementations (Wine's) leave it. A target that was not
        // there before is the copy's own.
        if (!targetExisted && GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
            SetFileAttributesW(to.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(to.c_str());
        }
        return static_cast<uint32_t>(code);
    }
    // Some implementations never call the routine; the finished copy is reported all the same.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (routine && !context.reported && GetFileAttributesExW(to.c_str(), GetFileExInfoStandard, &data)) {
        const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        routine(size, size);
    }
    return 0;
}

uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) {
    const std::wstring from = LongPath(source);
    const std::wstring to = LongPath(target);
    if (from.empty() || to.empty()) {
        return kUnreachableName;
    }
    return Result(MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

uint32_t RemoveFile(const std::wstring& path) {
    const std::wstring name = LongPath(path);
    return name.empty() ? kUnreachableName : Result(DeleteFileW(name.c_str()));
}

uint32_t FlushFile(const std::wstring& path) {
    const std::wstring name = LongPath(path);
    if (name.empty()) {
        return kUnreachableName;
    }
    auto open = [&name] {
        return CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE file = open();
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        const DWORD attributes = GetFileAttributesW(name.c_str());
        if (code != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
            return static_cast<uint32_t>(code);
        }
        // The copy of a read-only file is read-only too: its attribute is lifted for the moment of the flush.
        if (!SetFileAttributesW(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
            return static_cast<uint32_t>(GetLastError());
        }
        file = open();
        const DWORD openCode = GetLastError();
        SetFileAttributesW(name.c_str(), attributes);
        if (file == INVALID_HANDLE_VALUE) {
            return static_cast<uint32_t>(openCode);
        }
    }
    const BOOL flushed = FlushFileBuffers(file);
    const DWORD code = flushed ? 0 : GetLastError();
    CloseHandle(file);
    return static_cast<uint32_t>(code);
}

bool QueryFileIdentity(const std::wstring& path, FileIdentity& identity) {
    const std::wstring name = LongPath(path);
    if (name.empty()) {
        return false;
    }
    // Reading attributes only conflicts with no other handle's sharing; folders open with backup semantics.
    HANDLE file =
        CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL read = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!read) {
        return false;
    }
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    identity.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return true;
}

uint32_t ReadAttributes(const std::wstring& path) {
    const std::wstring name = LongPath(path);
    return name.empty() ? kInvalidAttributes : GetFileAttributesW(name.c_str());
}

uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes) {
    const std::wstring name = LongPath(path);
    return name.empty() ? kUnreachableName : Result(SetFileAttributesW(name.c_str(), attributes));
}

namespace {

// The longest path SHCreateDirectoryExW is documented to take, its terminator not counted.
constexpr size_t kShellFolderPathLimit = 247;

// Whether a name of the path ends in a dot or a space, which the shell would take off.
bool HasTrimmedName(const std::wstring& path) {
    size_t start = 0;
    for (size_t end = 0; end <= path.size(); ++end) {
        if (end < path.size() && path[end] != L'\\' && path[end] != L'/') {
            continue;
        }
        const std::wstring name = path.substr(start, end - start);
        if (!name.empty() && name != L"." && name != L".." && (name.back() == L'.' || name.back() == L' ')) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Where the folders of a \\?\ path begin: after \\?\C:\, after \\?\UNC\server\share\, or after the first
// component of another \\?\ path.
size_t LongRootLength(const std::wstring& path) {
    const std::wstring unc = L"\\\\?\\UNC\\";
    size_t at = path.compare(0, unc.size(), unc) == 0 ? unc.size() : 4;
    const int components = at == unc.size() ? 2 : 1;
    for (int i = 0; i < components && at != std::wstring::npos; ++i) {
        at = path.find(L'\\', at);
        at = at == std::wstring::npos ? path.size() : at + 1;
    }
    return at;
}

// The shell's code for what CreateDirectoryW answered.
uint32_t FolderResult(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY:
        return kFolderPathNotFound;
    default:
        return static_cast<uint32_t>(code);
    }
}

// Creates a folder of a \\?\ path and every missing parent below its root, one CreateDirectoryW after another.
uint32_t CreateLongFolder(const std::wstring& folder, size_t rootLength) {
    if (CreateDirectoryW(folder.c_str(), nullptr)) {
        return 0;
    }
    DWORD code = GetLastError();
    const size_t cut = folder.find_last_of(L'\\');
    if (code == ERROR_PATH_NOT_FOUND && cut != std::wstring::npos && cut >= rootLength) {
        const uint32_t parent = CreateLongFolder(folder.substr(0, cut), rootLength);
        // A file in the parent's place answers "already exists" there and "path not found" here.
        if (parent != 0 && parent != kFolderAlreadyExists) {
            return parent;
        }
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            return 0;
        }
        code = GetLastError();
    }
    return FolderResult(code);
}

} // namespace

uint32_t CreateFolderWithParents(const std::wstring& path) {
    if (path.size() <= kShellFolderPathLimit && !HasTrimmedName(path)) {
        return static_cast<uint32_t>(SHCreateDirectoryExW(nullptr, path.c_str(), nullptr));
    }
    if (IsRelativePath(path)) {
        return kFolderBadPathName;
    }
    std::wstring folder = LongPath(path);
    if (folder.empty()) {
        return kFolderBadPathName;
    }
    const size_t rootLength = LongRootLength(folder);
    while (folder.size() > rootLength && folder.back() == L'\\') {
        folder.pop_back();
    }
    if (folder.size() <= rootLength) {
        return PathExists(folder) ? kFolderAlreadyExists : kFolderPathNotFound; // a root is made by no one
    }
    return CreateLongFolder(folder, rootLength);
}

} // namespace tw::platform
