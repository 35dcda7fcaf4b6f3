#include "fixtures/file_io.h"
#include "name_cases.h"
#include "platform/path_core.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/win32/long_path.h"

#include <windows.h>
#endif

namespace tw::platform {
namespace {

// A path written with '|' between its components, in the platform's separator.
std::wstring P(const std::wstring& s) {
    return fixtures::NativePath(s);
}

TEST(PathTest, FindFileName) {
    struct Case {
        std::wstring path;
        size_t start;
    };
    const Case cases[] = {
        {P(L"|media|clip.omf"), 7}, {P(L"clip.omf"), 0}, {P(L"|media|dir|"), 7}, {P(L"|clip.omf"), 1}, {L"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileNameStart(c.path), c.start) << WideToUtf8(c.path);
    }
}

TEST(PathTest, AppendUsesExactlyOneSeparator) {
    EXPECT_EQ(JoinPath(P(L"|media"), L"clip.omf"), P(L"|media|clip.omf"));
    EXPECT_EQ(JoinPath(P(L"|media|"), L"clip.omf"), P(L"|media|clip.omf"));
    EXPECT_EQ(JoinPath(P(L"|media"), P(L"|clip.omf")), P(L"|media|clip.omf"));
    const std::wstring longFolder = P(L"|") + std::wstring(300, L'd');
    EXPECT_EQ(JoinPath(longFolder, L"x.omf"), longFolder + P(L"|x.omf"));
}

// The full path of a file opened by a path with "." and ".." in it names the file without them, as the
// list's Path column shows it.
TEST(PathTest, FullPathsLeaveOutDotComponents) {
    fixtures::ScratchDir dir;
    ASSERT_TRUE(fixtures::MakeFolders(dir / L"db"));
    ASSERT_TRUE(fixtures::WriteFile(dir / P(L"db|x.pmr"), std::string("x")));
    const std::wstring roundabout = dir / P(L"db|.|..|db|.|x.pmr");
    ReadOnlyFile file;
    uint32_t code = 0;
    std::wstring text;
    ASSERT_TRUE(file.Open(roundabout, code, text)) << WideToUtf8(text);
    EXPECT_EQ(file.FullPath(), dir / P(L"db|x.pmr"));
    EXPECT_EQ(MakeFullPath(roundabout), dir / P(L"db|x.pmr"));
    // A relative path is taken from the current folder.
    const std::wstring relative = MakeFullPath(L"x.pmr");
    EXPECT_FALSE(IsRelativePath(relative));
    EXPECT_EQ(relative.substr(FileNameStart(relative)), L"x.pmr");
    EXPECT_EQ(MakeFullPath(L""), L"");
}

TEST(PathTest, DotComponentsAreTakenOutByName) {
    const std::wstring s(1, kPathSeparator);
    struct Case {
        std::wstring path;
        std::wstring normal;
    };
    const Case cases[] = {
        {P(L"|a|.|b"), P(L"|a|b")},       {P(L"|a|b|..|c"), P(L"|a|c")}, {P(L"|..|..|a"), P(L"|a")},
        {P(L"|a||b|"), P(L"|a|b|")},      {P(L"|a|b|.."), P(L"|a")},     {P(L"|a|.."), s},
        {P(L"|a.b|..c"), P(L"|a.b|..c")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detail::NormalizeComponents(c.path, 1, kPathSeparator), c.normal) << WideToUtf8(c.path);
    }
}

#ifdef _WIN32
// The \\?\ form that the Win32 backend hands to the system: every name as written, "." and ".." taken out by name,
// and no form at all for what it cannot spell exactly.
TEST(PathTest, LongFormKeepsEveryNameAsWritten) {
    wchar_t current[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, current), 0u);
    struct Case {
        std::wstring path;
        std::wstring longForm;
    };
    const Case cases[] = {
        {L"C:\\media\\x.omf.", L"\\\\?\\C:\\media\\x.omf."},
        {L"c:/media/./sub/../x.omf ", L"\\\\?\\C:\\media\\x.omf "},
        {L"C:\\media.\\take \\", L"\\\\?\\C:\\media.\\take \\"},
        {L"C:\\..\\x", L"\\\\?\\C:\\x"},
        {L"\\\\server\\share\\media\\..\\x.omf.", L"\\\\?\\UNC\\server\\share\\x.omf."},
        {L"//server/share/../..", L"\\\\?\\UNC\\server\\share\\"},
        {L"\\\\?\\C:\\a\\..\\x.", L"\\\\?\\C:\\a\\..\\x."},
        {L"sub\\..\\x.omf.", L"\\\\?\\" + JoinPath(current, L"x.omf.")},
        {L"", L""},
        {L"\\\\.\\C:\\x.omf", L""},
        {L"\\\\server", L""},
        {L"\\\\server\\", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detail::LongPath(c.path), c.longForm) << WideToUtf8(c.path);
    }
    EXPECT_EQ(detail::WithoutLongPrefix(L"\\\\?\\C:\\media\\x.omf."), L"C:\\media\\x.omf.");
    EXPECT_EQ(detail::WithoutLongPrefix(L"\\\\?\\UNC\\server\\share\\x"), L"\\\\server\\share\\x");
    EXPECT_EQ(detail::WithoutLongPrefix(L"\\\\?\\Volume{1}\\x"), L"\\\\?\\Volume{1}\\x");
}
#endif

// A file opened by a name that ends in a dot reports that very name as its full path.
TEST(PathTest, FullPathsKeepTrailingDotsAndSpaces) {
    name_cases::NameCaseDir dir;
    ASSERT_TRUE(fixtures::MakeFolders(dir / L"sub"));
    ASSERT_TRUE(name_cases::WriteLiteral(dir / L"x.omf.", "dot"));
    ReadOnlyFile file;
    uint32_t code = 0;
    std::wstring text;
    ASSERT_TRUE(file.Open(dir / P(L"sub|..|x.omf."), code, text)) << WideToUtf8(text);
    EXPECT_EQ(file.FullPath(), dir / L"x.omf.");
    EXPECT_EQ(MakeFullPath(dir / P(L"sub|..|x.omf.")), dir / L"x.omf.");
    EXPECT_EQ(MakeFullPath(dir / L"x.omf "), dir / L"x.omf ");
    const std::wstring relative = MakeFullPath(L"x.omf.");
    EXPECT_EQ(relative.substr(FileNameStart(relative)), L"x.omf.");
}

} // namespace
} // namespace tw::platform
