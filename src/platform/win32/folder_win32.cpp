// Folder listing through FindFirstFileW and FindNextFileW, and the shell's path helpers.
#include "platform/platform.h"

#include <shlwapi.h>
#include <windows.h>

namespace tw::platform {

namespace {

FolderEntry ToEntry(const WIN32_FIND_DATAW& data) {
    FolderEntry entry;
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes;
    entry.creationTime =
        (static_cast<uint64_t>(data.ftCreationTime.dwHighDateTime) << 32) | data.ftCreationTime.dwLowDateTime;
    entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return entry;
}

// Every entry that FindFirstFileW and FindNextFileW give for a pattern.
bool Find(const std::wstring& pattern, const EntryVisitor& visit) {
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    do {
        visit(ToEntry(data));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

} // namespace

bool ListFolder(const std::wstring& folder, const EntryVisitor& visit) {
    return Find(JoinPath(folder, L"*.*"), visit);
}

bool ListFolderKinds(const std::wstring& folder, const EntryVisitor& visit) {
    return ListFolder(folder, visit); // the find data holds every field at no extra cost
}

bool GetEntry(const std::wstring& path, FolderEntry& entry) {
    // A name never holds wildcards: FindFirstFileW would take them as a pattern and answer another file.
    if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) {
        return false;
    }
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(find);
    entry = ToEntry(data);
    return true;
}

bool GetFolderId(const std::wstring& path, FolderId& id) {
    if (path.empty()) {
        return false;
    }
    // No access rights are needed to read the file index; a folder opens only with backup semantics.
    HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(handle, &info) != FALSE;
    CloseHandle(handle);
    if (!read) {
        return false;
    }
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    // Some network file systems number nothing: every folder would then look like every other.
    return id.index != 0;
}

bool FindEntriesIgnoringCase(const std::wstring& folder, const std::wstring& name, const EntryVisitor& visit) {
    return Find(JoinPath(folder, name), visit);
}

std::wstring RemoveFileSpec(const std::wstring& path) {
    std::wstring buffer = path;
    buffer.push_back(L'\0');
    PathRemoveFileSpecW(buffer.data());
    buffer.resize(wcslen(buffer.c_str()));
    return buffer;
}

std::wstring FindExtension(const std::wstring& path) {
    return PathFindExtensionW(path.c_str());
}

bool IsRelativePath(const std::wstring& path) {
    return PathIsRelativeW(path.c_str()) != FALSE;
}

std::wstring RemoveTrailingSeparator(const std::wstring& path) {
    std::wstring buffer = path;
    buffer.push_back(L'\0');
    PathRemoveBackslashW(buffer.data());
    buffer.resize(wcslen(buffer.c_str()));
    return buffer;
}

bool IsSameRoot(const std::wstring& a, const std::wstring& b) {
    return PathIsSameRootW(a.c_str(), b.c_str()) != FALSE;
}

bool PathExists(const std::wstring& path) {
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace tw::platform
