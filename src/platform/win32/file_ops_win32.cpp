// File operations of the Win32 backend: CopyFileExW, MoveFileExW, DeleteFileW, FlushFileBuffers,
// Get/SetFileAttributesW, SHCreateDirectoryExW and GetFileInformationByHandle.
#include "platform/platform.h"

#include <shlobj.h>
#include <windows.h>

#include <type_traits>

namespace tw::platform {

static_assert(std::is_same_v<CancelFlag, BOOL>, "the cancel flag is handed to CopyFileExW as it is");

namespace {

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
    const bool targetExisted = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    CopyContext context{&routine, false};
    if (!CopyFileExW(source.c_str(), target.c_str(), routine ? CopyRoutine : nullptr, &context, cancel, 0)) {
        const DWORD code = GetLastError();
        // Windows removes what a failed copy wrote; some implementations (Wine's) leave it. A target that was not
        // there before is the copy's own.
        if (!targetExisted && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
            SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(target.c_str());
        }
        return static_cast<uint32_t>(code);
    }
    // Some implementations never call the routine; the finished copy is reported all the same.
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (routine && !context.reported && GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &data)) {
        const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        routine(size, size);
    }
    return 0;
}

uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) {
    return Result(MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING));
}

uint32_t RemoveFile(const std::wstring& path) {
    return Result(DeleteFileW(path.c_str()));
}

uint32_t FlushFile(const std::wstring& path) {
    auto open = [&path] {
        return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE file = open();
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (code != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & FILE_ATTRIBUTE_READONLY) == 0) {
            return static_cast<uint32_t>(code);
        }
        // The copy of a read-only file is read-only too: its attribute is lifted for the moment of the flush.
        if (!SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY)) {
            return static_cast<uint32_t>(GetLastError());
        }
        file = open();
        const DWORD openCode = GetLastError();
        SetFileAttributesW(path.c_str(), attributes);
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
    if (path.empty()) {
        return false;
    }
    // Reading attributes only conflicts with no other handle's sharing; folders open with backup semantics.
    HANDLE file =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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
    return GetFileAttributesW(path.c_str());
}

uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes) {
    return Result(SetFileAttributesW(path.c_str(), attributes));
}

uint32_t CreateFolderWithParents(const std::wstring& path) {
    return static_cast<uint32_t>(SHCreateDirectoryExW(nullptr, path.c_str(), nullptr));
}

} // namespace tw::platform
