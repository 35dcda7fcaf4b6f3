#include "catalog/media_record.h"

#include "platform/platform.h"

namespace tw {

bool MediaRecord::SplitFullPath(std::wstring& fullPath) {
    if (fullPath.empty()) {
        return false;
    }
    const size_t nameStart = platform::FileNameStart(fullPath);
    if (nameStart == 0) {
        return false;
    }
    SetFileName(fullPath.substr(nameStart));
    fullPath.resize(nameStart);
    if (fullPath.empty()) {
        return false;
    }
    SetPath(fullPath);
    return true;
}

size_t MediaRecord::GetFullPath(std::wstring& out, size_t capacity) const {
    if (!path || !fileName) {
        return 0;
    }
    const size_t needed = fileName.view().size() + path.view().size() + 2;
    if (capacity < needed) {
        return needed;
    }
    out = platform::JoinPath(path.str(), fileName.str());
    return out.size();
}

} // namespace tw
