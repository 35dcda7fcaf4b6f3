#include "fixtures/file_io.h"
#include "platform/path_core.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace tw::platform
