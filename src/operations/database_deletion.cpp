#include "operations/database_deletion.h"

#include "catalog/media_files.h"
#include "platform/platform.h"

namespace tw {

namespace {

// Deletes one file if it exists; true when it was deleted. Read-only files are not made writable here.
bool DeleteIfThere(const std::wstring& path, FileSystem& files, Console* console) {
    if (!files.PathExists(path)) {
        return false;
    }
    if (const uint32_t code = files.RemoveFile(path)) {
        AppendLine(console, L"QRB::DeleteDB::Failed::" + path);
        LogSystemError(console, code, L"QRB::DeleteDB");
        return false;
    }
    AppendLine(console, L"QRB::Deleted::" + path);
    return true;
}

} // namespace

bool DeleteDatabaseFiles(const std::wstring& indexPath, FileSystem& files, Console* console) {
    const bool indexDeleted = DeleteIfThere(indexPath, files, console);
    DeleteIfThere(platform::JoinPath(platform::RemoveFileSpec(indexPath), kDatabaseFileName), files, console);
    return indexDeleted;
}

} // namespace tw
