// MediaRecord: one media file with its metadata, as the lists show it.
#pragma once

#include "catalog/shared_text.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tw {

// The attributes value that marks a file named by an index but not found on disk.
inline constexpr uint32_t kMissingAttributes = 0xFFFFFFFFu;

class MediaRecord {
public:
    // Texts are shared: copying a record or a text copies a pointer, never the characters.
    using Text = SharedText;

    // Each setter replaces the field by text; an absent text leaves the field absent.
    void SetPath(Text text) { path = std::move(text); }
    void SetFileName(Text text) { fileName = std::move(text); }
    void SetProjectName(Text text) { projectName = std::move(text); }
    void SetNameInBin(Text text) { nameInBin = std::move(text); }
    void SetCompression(uint32_t code, Text text) {
        compressionCode = code;
        compressionName = std::move(text);
    }

    // Splits a full path into fileName (last component) and path (folder with its trailing separator)
    // and cuts fullPath to that folder. False, changing nothing, when there is no folder part.
    bool SplitFullPath(std::wstring& fullPath);
    // Joins path and fileName with one separator into out. Returns 0 when either is absent, the
    // needed capacity (leaving out untouched) when capacity is too small, else the length written.
    size_t GetFullPath(std::wstring& out, size_t capacity) const;

    [[nodiscard]] bool IsMissing() const { return attributes == kMissingAttributes; }

    Text path;
    Text fileName;
    uint64_t size = 0;
    uint32_t attributes = 0;
    uint64_t creationTime = 0; // FILETIME: 100 ns intervals since 1601-01-01 UTC
    Text projectName;
    Text nameInBin;
    Text sourceName;
    Text compressionName;
    int32_t mediaKind = 0;
    uint32_t compressionCode = 0;
    bool filled = true;
    int32_t index = 0;
    int32_t projectId = 0;
    uint64_t compUid = 0;
    uint64_t fileMobId = 0;
};

} // namespace tw
