// FileSystem: the one way the file operations reach files. Every call forwards to the platform's file operations;
// tests derive from it to make any of them fail on demand.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace tw {

// Each operation answers as its platform function does: 0 or the system's error code, attribute bits or
// platform::kInvalidAttributes, true or false.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    [[nodiscard]] virtual uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                                        const platform::CopyProgressRoutine& routine,
                                                        platform::CancelFlag* cancel) {
        return platform::CopyFileWithProgress(source, target, routine, cancel);
    }
    [[nodiscard]] virtual uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) {
        return platform::MoveFileReplacing(source, target);
    }
    [[nodiscard]] virtual uint32_t RemoveFile(const std::wstring& path) { return platform::RemoveFile(path); }
    [[nodiscard]] virtual uint32_t FlushFile(const std::wstring& path) { return platform::FlushFile(path); }
    [[nodiscard]] virtual uint32_t ReadAttributes(const std::wstring& path) { return platform::ReadAttributes(path); }
    [[nodiscard]] virtual uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes) {
        return platform::WriteAttributes(path, attributes);
    }
    [[nodiscard]] virtual uint32_t CreateFolderWithParents(const std::wstring& path) {
        return platform::CreateFolderWithParents(path);
    }
    [[nodiscard]] virtual bool PathExists(const std::wstring& path) { return platform::PathExists(path); }
    [[nodiscard]] virtual bool IsSameRoot(const std::wstring& a, const std::wstring& b) {
        return platform::IsSameRoot(a, b);
    }
    [[nodiscard]] virtual bool QueryFileIdentity(const std::wstring& path, platform::FileIdentity& identity) {
        return platform::QueryFileIdentity(path, identity);
    }

    // Reads two files to their ends and compares their bytes: 0 with same set, or the system's code when either
    // cannot be opened or read.
    [[nodiscard]] virtual uint32_t CompareFiles(const std::wstring& a, const std::wstring& b, bool& same);

    // True when both paths exist and are one file.
    [[nodiscard]] bool IsSameFile(const std::wstring& a, const std::wstring& b);
    // Clears the read-only bit of a file whose attributes could be read; a file whose attributes cannot be read
    // is left alone.
    void ClearReadOnly(const std::wstring& path);
};

} // namespace tw
