// What names the media files and database files of a media folder: the two database file names, and the
// media extensions by a name's last three characters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

// The media file index and the media database beside the media files of a database folder.
inline constexpr wchar_t kIndexFileName[] = L"msmFMID.pmr";
inline constexpr wchar_t kDatabaseFileName[] = L"msmMMOB.mdb";

enum class MediaExtension : uint8_t { none, omf, aif, wav, mxf };

enum class ExtensionCase : uint8_t {
    lowerOrUpper, // "omf" or "OMF", never "Omf": the index's rule and the file list's images
    any,          // any letter case: the rule of dropped files
};

// The media extension that three characters spell (8-bit or wide).
template <typename Char> constexpr MediaExtension MediaExtensionOf(const Char* three, ExtensionCase letterCase) {
    const auto fold = [](Char c) { return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c; };
    const Char a = fold(three[0]);
    const Char b = fold(three[1]);
    const Char c = fold(three[2]);
    if (letterCase == ExtensionCase::lowerOrUpper) {
        // The three must share one case: all folded, or none.
        const bool upper = three[0] != a;
        if ((three[1] != b) != upper || (three[2] != c) != upper) {
            return MediaExtension::none;
        }
    }
    if (a == 'o' && b == 'm' && c == 'f') {
        return MediaExtension::omf;
    }
    if (a == 'a' && b == 'i' && c == 'f') {
        return MediaExtension::aif;
    }
    if (a == 'w' && b == 'a' && c == 'v') {
        return MediaExtension::wav;
    }
    if (a == 'm' && b == 'x' && c == 'f') {
        return MediaExtension::mxf;
    }
    return MediaExtension::none;
}

// The media extension that a name's last three characters spell; none for a shorter name. A dot before them
// is not looked at.
[[nodiscard]] inline MediaExtension LastThreeExtension(std::wstring_view name, ExtensionCase letterCase) {
    return name.size() < 3 ? MediaExtension::none : MediaExtensionOf(name.data() + name.size() - 3, letterCase);
}

} // namespace tw
