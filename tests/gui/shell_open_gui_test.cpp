// Opening a file with its program, and the console line of an open that fails.
#include "fixtures/file_io.h"
#include "platform/platform.h"
#include "seams/console.h"
#include "ui/win32/shell_open.h"

#include <gtest/gtest.h>

#include <shellapi.h>

namespace tw {
namespace {

std::wstring ErrorLine(uint32_t code) {
    return std::wstring(kOpenErrorContext) + L" : error " + std::to_wstring(code) + L": " +
           platform::SystemErrorText(code);
}

// Real opens that fail, each written with the system's code and text for what went wrong.
TEST(ShellOpenTest, AFailedOpenIsWrittenWithTheSystemsCodeAndText) {
    fixtures::ScratchDir folder(L"tw-shell-open");
    const std::wstring unknownType = folder / L"clip.tw-unknown-type";
    ASSERT_TRUE(fixtures::WriteFile(unknownType, std::string("x")));
    struct Case {
        std::wstring path;
        uint32_t code;
    };
    const Case cases[] = {
        {folder / L"moved away.omf", ERROR_FILE_NOT_FOUND},
        {unknownType, ERROR_NO_ASSOCIATION}, // the shell's 31, which as a system code means another failure
    };
    for (const Case& c : cases) {
        LineConsole console;
        EXPECT_FALSE(OpenWithShell(nullptr, c.path, &console)) << platform::WideToUtf8(c.path);
        EXPECT_EQ(console.lines, std::vector<std::wstring>{ErrorLine(c.code)}) << platform::WideToUtf8(c.path);
    }
    EXPECT_FALSE(OpenWithShell(nullptr, folder / L"moved away.omf", nullptr)); // no console: nothing written
}

} // namespace
} // namespace tw
