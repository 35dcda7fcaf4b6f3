#include "operations/file_system.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tw {

uint32_t FileSystem::CompareFiles(const std::wstring& a, const std::wstring& b, bool& same) {
    same = false;
    platform::ReadOnlyFile first;
    platform::ReadOnlyFile second;
    uint32_t code = 0;
    std::wstring text;
    if (!first.Open(a, code, text) || !second.Open(b, code, text)) {
        return code != 0 ? code : platform::kErrorCopyIncomplete;
    }
    if (first.Length() != second.Length()) {
        return 0;
    }
    std::vector<char> x(1 << 20);
    std::vector<char> y(1 << 20);
    for (uint64_t left = first.Length(); left > 0;) {
        const auto want = static_cast<uint32_t>(std::min<uint64_t>(left, x.size()));
        if (first.Read(x.data(), want) != want || second.Read(y.data(), want) != want) {
            return platform::kErrorCopyIncomplete;
        }
        if (std::memcmp(x.data(), y.data(), want) != 0) {
            return 0;
        }
        left -= want;
    }
    same = true;
    return 0;
}

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
