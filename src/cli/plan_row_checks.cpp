#include "cli/plan_row_checks.h"

#include "platform/file_ops.h"
#include "platform/paths.h"

namespace tw::cli {

namespace {

// The capacity in which the file operations build a record's full path.
constexpr size_t kFullPathCapacity = 4096;

} // namespace

MediaRecord RecordOfRow(const PlanRow& row) {
    MediaRecord record;
    record.SetPath(row.path);
    record.SetFileName(row.name);
    record.SetProjectName(row.project);
    record.size = row.size;
    return record;
}

std::wstring FullPathOf(const PlanRow& row) {
    std::wstring path;
    RecordOfRow(row).GetFullPath(path, kFullPathCapacity);
    return path;
}

std::wstring ChangeOf(FileSystem& files, const PlanRow& row, const std::wstring& path, bool& absent) {
    const uint64_t size = row.size;
    absent = false;
    const uint32_t attributes = files.ReadAttributes(path);
    platform::FileIdentity identity;
    if (attributes == platform::kInvalidAttributes || !files.QueryFileIdentity(path, identity)) {
        const uint32_t folder = files.ReadAttributes(row.path);
        if (folder == platform::kInvalidAttributes || (folder & platform::kAttributeDirectory) == 0) {
            absent = true;
            return L"the folder " + platform::RemoveTrailingSeparator(row.path) +
                   L" is not there: is the drive mounted?";
        }
        return L"no file is there now";
    }
    if ((attributes & platform::kAttributeDirectory) != 0) {
        return L"a folder is there now";
    }
    if (identity.size != size) {
        return L"its size is now " + std::to_wstring(identity.size) + L" bytes, the plan has " + std::to_wstring(size);
    }
    return {};
}

} // namespace tw::cli
