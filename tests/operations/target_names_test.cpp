#include "operations/target_names.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(TargetNamesTest, OnlyPlainNamesJoinAFolder) {
    struct Case {
        const wchar_t* name;
        bool file;
        bool folder;
    };
    const Case cases[] = {
        {L"A01C03_SCENE12.V1.omf", true, true},
        {L"Harbour Lights", true, true},
        {L"\u00C9mission 4", true, true},
        {L".hidden", true, true},
        {L"Take 4.", true, false}, // Windows drops a dot at the end of a folder name
        {L"Take 4 ", true, false},
        {L"**UNKNOWN**", true, false},
        {L"**NULL_PROJECT", true, false},
        {L"what?", true, false},
        {L"a<b>", true, false},
        {L"pipe|name", true, false},
        {L"\"quoted\"", true, false},
        {L"", false, false},
        {L".", false, false},
        {L"..", false, false},
        {L"...", false, false},
        {L" . ", false, false},
        {L"../clip.omf", false, false},
        {L"..\\clip.omf", false, false},
        {L"sub/clip.omf", false, false},
        {L"/etc", false, false},
        {L"C:clip.omf", false, false},
        {L"clip.omf:stream", false, false},
        {L"tab\tname", false, false},
        {L"NUL", false, false},
        {L"nul.omf", false, false},
        {L"Con", false, false},
        {L"COM1.mxf", false, false},
        {L"lpt9", false, false},
        {L"AUX .txt", false, false},
        {L"COM0", true, true},
        {L"CONSOLE", true, true},
        {L"NULL", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPlainFileName(c.name), c.file) << testing::PrintToString(std::wstring(c.name));
        EXPECT_EQ(IsPlainFolderName(c.name), c.folder) << testing::PrintToString(std::wstring(c.name));
    }
    EXPECT_FALSE(IsPlainFileName(std::wstring(L"a\0b", 3)));
}

} // namespace
} // namespace tw
