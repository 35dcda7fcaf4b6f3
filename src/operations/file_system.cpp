#include "operations/file_system.h"

namespace tw {

bool FileSystem::IsSameFile(const std::wstring& a, const std::wstring& b) {
    platform::FileIdentity x;
    platform::FileIdentity y;
    return QueryFileIdentity(a, x) && QueryFileIdentity(b, y) && x.volume == y.volume && x.index == y.index;
}

void FileSystem::ClearReadOnly(const std::wstring& path) {
    const uint32_t attributes = ReadAttributes(path);
    if (attributes != platform::kInvalidAttributes && (attributes & platform::kAttributeReadOnly) != 0) {
        (void)WriteAttributes(path, attributes & ~platform::kAttributeReadOnly);
    }
}

} // namespace tw
