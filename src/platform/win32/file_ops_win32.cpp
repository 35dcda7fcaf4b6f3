// File operations of the Win32 backend: CopyFileExW, MoveFileExW, DeleteFileW, Get/SetFileAttributesW and
// SHCreateDirectoryExW.
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
    CopyContext context{&routine, false};
    if (!CopyFileExW(source.c_str(), target.c_str(), routine ? CopyRoutine : nullptr, &context, cancel, 0)) {
        return static_cast<uint32_t>(GetLastError());
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
