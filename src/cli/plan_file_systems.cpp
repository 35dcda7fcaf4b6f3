#include "cli/plan_file_systems.h"

#include "platform/file_ops.h"
#include "platform/paths.h"
#include "platform/system.h"
#include "platform/text.h"

#include <cerrno>
#include <cstdio>

namespace tw::cli {

uint32_t FolderOnDemand::CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                              const platform::CopyProgressRoutine& routine,
                                              platform::CancelFlag* cancel) {
    const uint32_t code = Make();
    return code != 0 ? code : inner.CopyFileWithProgress(source, target, routine, cancel);
}

uint32_t FolderOnDemand::MoveFileReplacing(const std::wstring& source, const std::wstring& target) {
    const uint32_t code = Make();
    return code != 0 ? code : inner.MoveFileReplacing(source, target);
}

uint32_t FolderOnDemand::Make() {
    if (made || inner.PathExists(folder)) {
        made = true;
        return 0;
    }
    const uint32_t code = inner.CreateFolderWithParents(folder);
    made = code == 0;
    return code;
}

uint32_t WritableCheck::CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                             const platform::CopyProgressRoutine& routine,
                                             platform::CancelFlag* cancel) {
    const uint32_t code = Check(platform::RemoveFileSpec(target));
    return code != 0 ? code : inner.CopyFileWithProgress(source, target, routine, cancel);
}

uint32_t WritableCheck::MoveFileReplacing(const std::wstring& source, const std::wstring& target) {
    const uint32_t code = Check(platform::RemoveFileSpec(target));
    return code != 0 ? code : inner.MoveFileReplacing(source, target);
}

uint32_t WritableCheck::CreateFolderWithParents(const std::wstring& path) {
    const uint32_t code = Check(path);
    return code != 0 ? code : inner.CreateFolderWithParents(path);
}

uint32_t WritableCheck::Check(std::wstring folder) {
    while (!folder.empty() && !disk.PathExists(folder)) {
        const std::wstring parent = platform::RemoveFileSpec(folder);
        if (parent == folder) {
            return 0;
        }
        folder = parent;
    }
    if (folder.empty()) {
        return 0;
    }
    const auto known = tried.find(folder);
    if (known != tried.end()) {
        return known->second;
    }
    return tried[folder] = TryWriting(folder);
}

uint32_t WritableCheck::TryWriting(const std::wstring& folder) {
    const std::wstring probe =
        platform::JoinPath(folder, L".tarnwick-write-test-" + std::to_wstring(platform::TickCountMs()));
    if (platform::PathExists(probe)) {
        return 0;
    }
#ifdef _WIN32
    std::FILE* file = _wfopen(probe.c_str(), L"wb");
    const uint32_t refused = 5; // ERROR_ACCESS_DENIED
#else
    std::FILE* file = std::fopen(platform::WideToUtf8(probe).c_str(), "wb");
    const auto refused = static_cast<uint32_t>(errno);
#endif
    if (file == nullptr) {
        return refused != 0 ? refused : platform::kErrorCopyIncomplete;
    }
    std::fclose(file);
    (void)platform::RemoveFile(probe);
    return 0;
}

} // namespace tw::cli
