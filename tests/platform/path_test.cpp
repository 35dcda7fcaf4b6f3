#include "fixtures/file_io.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

namespace tw::platform {
namespace {

// A path written with '|' between its components, in the platform's separator.
std::wstring P(const std::wstring& s) { return fixtures::NativePath(s); }

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

} // namespace
} // namespace tw::platform
