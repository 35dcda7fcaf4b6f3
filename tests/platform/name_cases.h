// Files whose paths Windows would take another way than written without their \\?\ form (a name ending in a dot
// or a space, a path past MAX_PATH) and other spellings of a file (an 8.3 short name, a link), each beside a
// neighbour that a wrong lookup would reach. Shared by the platform layer's file operation and folder tests.
#pragma once

#include "fixtures/file_io.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tw::platform::name_cases {

struct NameCase {
    std::string label;
    std::wstring folder;    // holds own and neighbour, and whatever a test makes beside them
    std::wstring own;       // the spelling every operation is given
    std::wstring ownName;   // the name the folder's listing shows for own
    std::wstring neighbour; // a file that no operation on own may change
    std::string ownBytes;   // what reading own gives
    bool link = false;      // own is a link to neighbour: reading own reads the neighbour's bytes
};

inline const std::string kNeighbourBytes = "the neighbour, which stays as it is";

// Writes a file under exactly the name given: through the \\?\ form on Windows, where the standard library would
// take trailing dots and spaces off and stop at MAX_PATH.
inline bool WriteLiteral(const std::wstring& path, const std::string& bytes) {
#ifdef _WIN32
    HANDLE file = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return CloseHandle(file) && ok && written == bytes.size();
#else
    return fixtures::WriteFile(path, bytes);
#endif
}

// The 8.3 short spelling of an existing path (GetShortPathNameW), or empty where there is none.
inline std::wstring ShortSpelling(const std::wstring& path) {
#ifdef _WIN32
    const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
    std::wstring spelling(needed, L'\0');
    const DWORD length = needed == 0 ? 0 : GetShortPathNameW(path.c_str(), spelling.data(), needed);
    spelling.resize(length < needed ? length : 0);
    // A volume that keeps no short names answers the long name.
    if (spelling.substr(FileNameStart(spelling)) == path.substr(FileNameStart(path))) {
        spelling.clear();
    }
    return spelling;
#else
    (void)path;
    return std::wstring();
#endif
}

// Removes a folder and everything below it, names taken as written (ScratchDir's removal goes through the standard
// library: on Windows it would trim names and stop at MAX_PATH).
inline void RemoveLiteralTree(const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    ListFolder(folder, [&](const FolderEntry& e) {
        if (e.name != L"." && e.name != L"..") {
            entries.push_back(e);
        }
    });
    for (const FolderEntry& e : entries) {
        const std::wstring path = JoinPath(folder, e.name);
        if ((e.attributes & kAttributeDirectory) != 0 && (e.attributes & kAttributeReparsePoint) == 0) {
            RemoveLiteralTree(path);
        } else {
            (void)WriteAttributes(path, kAttributeNormal);
            (void)RemoveFile(path);
        }
    }
#ifdef _WIN32
    RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
#else
    ::rmdir(WideToUtf8(folder).c_str());
#endif
}

// A scratch folder whose whole tree is removed with names taken as written.
class NameCaseDir {
public:
    ~NameCaseDir() { RemoveLiteralTree(dir.Path()); }
    [[nodiscard]] std::wstring operator/(const std::wstring& name) const { return dir / name; }

private:
    fixtures::ScratchDir dir{L"tw-names"};
};

// A folder below dir whose path is longer than length characters, made with CreateFolderWithParents.
inline void MakeDeepFolder(const NameCaseDir& dir, size_t length, std::wstring& deep) {
    deep = dir / L"deep";
    for (wchar_t letter = L'a'; deep.size() <= length; ++letter) {
        deep = JoinPath(deep, std::wstring(40, letter));
    }
    ASSERT_EQ(CreateFolderWithParents(deep), 0u) << WideToUtf8(deep);
}

// Every case this system can make under dir, its files written. A case it cannot make (no short names, no links)
// is left out with a note.
inline void MakeNameCases(const NameCaseDir& dir, std::vector<NameCase>& cases) {
    auto add = [&](const std::string& label, const std::wstring& folder, const std::wstring& ownName,
                   const std::wstring& neighbourName) {
        NameCase c;
        c.label = label;
        c.folder = folder;
        c.own = JoinPath(folder, ownName);
        c.ownName = ownName;
        c.neighbour = JoinPath(folder, neighbourName);
        c.ownBytes = "own bytes of the case " + label;
        ASSERT_TRUE(WriteLiteral(c.neighbour, kNeighbourBytes));
        ASSERT_TRUE(WriteLiteral(c.own, c.ownBytes)) << label;
        cases.push_back(c);
    };
    for (const wchar_t* folder : {L"dot", L"space", L"short", L"link"}) {
        ASSERT_TRUE(fixtures::MakeFolders(dir / folder));
    }
    ASSERT_NO_FATAL_FAILURE(add("trailing dot", dir / L"dot", L"x.omf.", L"x.omf"));
    ASSERT_NO_FATAL_FAILURE(add("trailing space", dir / L"space", L"x.omf ", L"x.omf"));

    std::wstring deep;
    ASSERT_NO_FATAL_FAILURE(MakeDeepFolder(dir, 280, deep));
    ASSERT_NO_FATAL_FAILURE(add("past MAX_PATH", deep, L"clip.omf", L"other.omf"));

    ASSERT_NO_FATAL_FAILURE(add("short name", dir / L"short", L"long clip name.omf", L"long clip name.omg"));
    const std::wstring spelling = ShortSpelling(cases.back().own);
    if (spelling.empty()) {
        std::cout << "[ note     ] no case of a short name: the system keeps none\n";
        cases.pop_back();
    } else {
        cases.back().own = spelling;
    }

    // The link names the neighbour: deleting or moving the link must leave the file it leads to.
    NameCase link;
    link.label = "link";
    link.folder = dir / L"link";
    link.own = JoinPath(link.folder, L"clip.omf");
    link.ownName = L"clip.omf";
    link.neighbour = JoinPath(link.folder, L"real.omf");
    link.ownBytes = kNeighbourBytes;
    link.link = true;
    ASSERT_TRUE(WriteLiteral(link.neighbour, kNeighbourBytes));
    if (fixtures::MakeFileLink(link.own, link.neighbour)) {
        cases.push_back(link);
    } else {
        std::cout << "[ note     ] no case of a link: the system makes none\n";
    }
}

} // namespace tw::platform::name_cases
