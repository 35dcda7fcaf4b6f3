// Folder listing through FindFirstFileExW and FindNextFileW, and the shell's path helpers. Every path reaches the
// system in its \\?\ form, so that a name is looked up as it is written.
#include "platform/platform.h"
#include "platform/win32/long_path.h"

#include <shlwapi.h>
#include <windows.h>

namespace tw::platform {

namespace {

// Fills entry from the find data; the name reuses the entry's storage, so that a listing that hands one entry
// after another to its visitor allocates nothing for most of them.
void ToEntry(const WIN32_FIND_DATAW& data, FolderEntry& entry) {
    entry.name.assign(data.cFileName);
    entry.attributes = data.dwFileAttributes;
    entry.creationTime =
        (static_cast<uint64_t>(data.ftCreationTime.dwHighDateTime) << 32) | data.ftCreationTime.dwLowDateTime;
    entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Calls take for every entry that the system's find functions give for a pattern in its \\?\ form, until take
// answers false. False when the pattern finds nothing. A listing asks for no short names and for large batches
// of entries (FindExInfoBasic, FIND_FIRST_EX_LARGE_FETCH): the file system then makes no 8.3 names and the
// system is asked for a folder of many files in few calls.
enum class FindLevel { withShortNames, listing };

template <typename Take> bool Find(const std::wstring& longPattern, FindLevel level, Take take) {
    if (longPattern.empty()) {
        return false;
    }
    WIN32_FIND_DATAW data{};
    HANDLE find = level == FindLevel::listing
                      ? FindFirstFileExW(longPattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH)
                      : FindFirstFileW(longPattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return false;
    }
    while (take(data) && FindNextFileW(find, &data)) {
    }
    FindClose(find);
    return true;
}

bool SameNameIgnoringCase(const wchar_t* a, const std::wstring& b) {
    return CompareStringOrdinal(a, -1, b.c_str(), static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether a found entry is the one a name asks for: its long or its short name, without regard to letter case
// as the file system matches them. A pattern matches more than its own name ("x.omf." also finds "x.omf").
bool IsNamed(const WIN32_FIND_DATAW& data, const std::wstring& name) {
    return SameNameIgnoringCase(data.cFileName, name) ||
           (data.cAlternateFileName[0] != L'\0' && SameNameIgnoringCase(data.cAlternateFileName, name));
}

DWORD AttributesOf(const std::wstring& path) {
    const std::wstring longPath = detail::LongPath(path);
    return longPath.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(longPath.c_str());
}

} // namespace

bool ListFolder(const std::wstring& folder, const EntryVisitor& visit) {
    FolderEntry entry;
    return Find(detail::LongPath(JoinPath(folder, L"*.*")), FindLevel::listing, [&](const WIN32_FIND_DATAW& data) {
        ToEntry(data, entry);
        visit(entry);
        return true;
    });
}

bool ListFolderKinds(const std::wstring& folder, const EntryVisitor& visit) {
    return ListFolder(folder, visit); // the find data holds every field at no extra cost
}

bool GetEntry(const std::wstring& path, FolderEntry& entry) {
    // A name never holds wildcards: FindFirstFileW would take them as a pattern and answer another file.
    if (path.empty() || path.find_first_of(L"*?") != std::wstring::npos) {
        return false;
    }
    const std::wstring longPath = detail::LongPath(path);
    const std::wstring name = longPath.substr(longPath.find_last_of(L'\\') + 1);
    bool found = false;
    Find(longPath, FindLevel::withShortNames, [&](const WIN32_FIND_DATAW& data) {
        found = IsNamed(data, name);
        if (found) {
            ToEntry(data, entry);
        }
        return !found;
    });
    return found;
}

bool GetFolderId(const std::wstring& path, FolderId& id) {
    const std::wstring longPath = detail::LongPath(path);
    if (longPath.empty()) {
        return false;
    }
    // No access rights are needed to read the file index; a folder opens only with backup semantics.
    HANDLE handle = CreateFileW(longPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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
    // The whole folder is looked through: a lookup of the name itself may answer another name, or only one of
    // several spellings on a file system that tells letter case apart.
    bool found = false;
    ListFolder(folder, [&](const FolderEntry& entry) {
        if (SameNameIgnoringCase(entry.name.c_str(), name)) {
            found = true;
            visit(entry);
        }
    });
    return found;
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
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace tw::platform
