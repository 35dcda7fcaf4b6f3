#include "ui/report_file.h"

#include "operations/target_names.h"
#include "platform/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace tw {

namespace {

#ifdef _WIN32
constexpr uint32_t kAccessDenied = 5; // ERROR_ACCESS_DENIED
#else
constexpr uint32_t kAccessDenied = EACCES;
#endif

// The system's code for the C runtime's last failure: the operating system's own code where the runtime keeps it
// (Windows), errno elsewhere. A failure the runtime gives no code for is a write fault.
uint32_t LastErrorCode() {
#ifdef _WIN32
    return _doserrno != 0 ? static_cast<uint32_t>(_doserrno) : 29; // ERROR_WRITE_FAULT
#else
    return errno != 0 ? static_cast<uint32_t>(errno) : EIO;
#endif
}

void ClearErrorCode() {
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
}

// Writes bytes to a file of its own at path, made anew: 0, or the system's error code. created tells whether the file
// was opened, and so whether there is one to remove.
uint32_t WriteNewFile(const std::wstring& path, const std::string& bytes, bool& created) {
    ClearErrorCode();
#ifdef _WIN32
    std::FILE* file = _wfopen(path.c_str(), L"wb");
#else
    std::FILE* file = std::fopen(platform::WideToUtf8(path).c_str(), "wb");
#endif
    created = file != nullptr;
    if (file == nullptr) {
        return LastErrorCode();
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    const uint32_t writeError = written ? 0 : LastErrorCode();
    ClearErrorCode();
    const bool closed = std::fclose(file) == 0;
    return writeError != 0 ? writeError : closed ? 0 : LastErrorCode();
}

} // namespace

std::wstring PartialFileOf(const std::wstring& path) {
    return path + kPartialCopyEnding;
}

uint32_t WriteFileReplacing(const std::wstring& path, const std::string& bytes, FileSystem& files) {
    // A read-only file is kept, as Windows keeps it from a rename over it; elsewhere the rename would take it.
    const uint32_t attributes = files.ReadAttributes(path);
    if (attributes != platform::kInvalidAttributes && (attributes & platform::kAttributeReadOnly) != 0) {
        return kAccessDenied;
    }
    const std::wstring partial = PartialFileOf(path);
    bool created = false;
    uint32_t code = WriteNewFile(partial, bytes, created);
    if (code == 0) {
        code = files.FlushFile(partial);
    }
    if (code == 0) {
        code = files.MoveFileReplacing(partial, path);
    }
    if (code != 0 && created) {
        (void)files.RemoveFile(partial);
    }
    return code;
}

} // namespace tw
