// Tools > "Save Report..." in the real main window on a generated media drive: the entry and its id, the page of
// what is loaded, the browser asked to open it, nothing loaded, and saves that fail without losing the file there.
#include "app/application.h"
#include "app/main_window.h"
#include "fixtures/file_io.h"
#include "fixtures/sample_drive.h"
#include "gui_harness.h"
#include "main_window_run.h"
#include "platform/platform.h"
#include "resource.h"
#include "ui/report_file.h"
#include "ui/report_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace tw::gui {
namespace {

constexpr wchar_t kCaption[] = L"Save Report";

// The message box of "Save Report...", owned by the main window.
WindowMatch ReportMessage() {
    return [](HWND window) { return WindowText(window) == kCaption; };
}

// Every command id of a menu and its popups.
void CollectCommands(HMENU menu, std::vector<UINT>& commands) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            CollectCommands(sub, commands);
        } else if ((GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) == 0) {
            commands.push_back(GetMenuItemID(menu, i));
        }
    }
}

std::string ReadWholeFile(const std::wstring& path) {
    std::string bytes;
    if (std::FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) != 0;) {
            bytes.append(buffer, n);
        }
        std::fclose(file);
    }
    return bytes;
}

// The text of the page's script element of that id.
std::string ScriptElement(const std::string& page, const std::string& id) {
    const std::string open = "<script type=\"application/json\" id=\"" + id + "\">";
    const size_t start = page.find(open);
    if (start == std::string::npos) {
        return {};
    }
    const size_t from = start + open.size();
    return page.substr(from, page.find("</script>", from) - from);
}

// The strings of the JSON array that follows "key": in json, as they are written there (quotes and escapes kept).
std::vector<std::string> JsonStrings(const std::string& json, const std::string& key) {
    std::vector<std::string> strings;
    size_t at = json.find("\"" + key + "\":[");
    if (at == std::string::npos) {
        return strings;
    }
    at += key.size() + 4;
    while (at < json.size() && json[at] == '"') {
        size_t end = at + 1;
        while (end < json.size() && json[end] != '"') {
            end += json[end] == '\\' ? 2 : 1;
        }
        strings.push_back(json.substr(at, end + 1 - at));
        at = end + 1;
        if (at < json.size() && json[at] == ',') {
            ++at;
        }
    }
    return strings;
}

// The texts of a window's children: a message box's text and buttons.
std::vector<std::wstring> TextsOf(HWND window) {
    std::vector<std::wstring> texts;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(WindowText(child));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    return texts;
}

std::string Json(const std::wstring& text) {
    std::string out;
    AppendJsonString(text, out);
    return out;
}

class SaveReportGuiTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        drive = std::make_unique<fixtures::ScratchDir>(L"tw-gui-report-drive");
        ASSERT_TRUE(fixtures::WriteSampleDrive(drive->Path(), 120, 7, 256, indexes));
    }
    static void TearDownTestSuite() { drive.reset(); }

    // Runs the main window on the sample drive with the report's dialog and browser answered by the test: the save
    // dialog answers target (or is cancelled when target is empty).
    void Run(const std::function<void(HWND, Application&)>& scenario) {
        RunMainWindowOn(
            {drive->Path() + L"\\"}, [&](HWND window, Application& app, MainWindow&) { scenario(window, app); },
            [this](Application& app) {
                app.reportShell.chooseFile = [this](HWND, std::wstring& path) {
                    proposed.push_back(path);
                    path = target;
                    return !target.empty();
                };
                app.reportShell.openPage = [this](HWND, const std::wstring& path, Console*) { opened.push_back(path); };
            });
    }

    static std::vector<std::wstring> ConsoleLines(Application& app) {
        return ListBoxLines(GetDlgItem(app.console->Window(), IDC_CONSOLE_LINES));
    }

    static std::unique_ptr<fixtures::ScratchDir> drive;
    static std::vector<std::wstring> indexes;
    std::wstring target;
    std::vector<std::wstring> proposed;
    std::vector<std::wstring> opened;
};

std::unique_ptr<fixtures::ScratchDir> SaveReportGuiTest::drive;
std::vector<std::wstring> SaveReportGuiTest::indexes;

TEST(SaveReportMenuGuiTest, ToolsHoldsSaveReportUnderAnIdOfItsOwn) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HMENU bar = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_NE(bar, nullptr);
    HMENU tools = nullptr;
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(bar, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        tools = std::wstring(text) == L"Tools" ? GetSubMenu(bar, i) : tools;
    }
    ASSERT_NE(tools, nullptr);
    wchar_t text[64] = {};
    EXPECT_GT(GetMenuStringW(tools, ID_SAVE_REPORT, text, 64, MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, L"Save Report...");

    // No other command of the menus or accelerators, and no control of the main window, has its number.
    std::vector<UINT> commands;
    CollectCommands(bar, commands);
    DestroyMenu(bar);
    HMENU context = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_CONTEXT_MENUS));
    ASSERT_NE(context, nullptr);
    CollectCommands(context, commands);
    DestroyMenu(context);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableW(accelerators, nullptr, 0)));
    CopyAcceleratorTableW(accelerators, keys.data(), static_cast<int>(keys.size()));
    for (const ACCEL& key : keys) {
        commands.push_back(key.cmd);
    }
    EXPECT_EQ(std::count(commands.begin(), commands.end(), static_cast<UINT>(ID_SAVE_REPORT)), 1);
    EXPECT_NE(ID_SAVE_REPORT, ID_ABOUT);
    HWND main = CreateDialogParamW(
        instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(GetDlgItem(main, ID_SAVE_REPORT), nullptr);
    DestroyWindow(main);
}

TEST_F(SaveReportGuiTest, SavesWhatIsLoadedAndAsksTheBrowserToOpenIt) {
    fixtures::ScratchDir out(L"tw-gui-report");
    target = out / L"MEDIA report.html";
    Run([&](HWND window, Application& app) {
        SendMessageW(window, WM_COMMAND, ID_TEST, 0); // index entries of missing files too
        ASSERT_GT(app.catalog.IndexedRecordCount(), 0u);
        SendMessageW(window, WM_COMMAND, ID_SAVE_REPORT, 0);

        EXPECT_EQ(proposed, std::vector<std::wstring>{L"tarnwick-report.html"});
        EXPECT_EQ(opened, std::vector<std::wstring>{target});
        const std::string page = ReadWholeFile(target);
        const std::string summary = ScriptElement(page, "tw-summary");
        const std::string data = ScriptElement(page, "tw-data");
        ASSERT_FALSE(data.empty());
        // Every file the window holds is a row of the page, and no other.
        std::multiset<std::string> names;
        bool anyMissing = false;
        for (uint32_t i = 0; i < app.catalog.IndexedRecordCount(); ++i) {
            const MediaRecord* record = app.catalog.RecordAt(i);
            names.insert(Json(std::wstring(record->fileName.view())));
            anyMissing = anyMissing || record->IsMissing();
        }
        EXPECT_TRUE(anyMissing);
        const std::vector<std::string> rows = JsonStrings(data, "name");
        EXPECT_EQ(std::multiset<std::string>(rows.begin(), rows.end()), names);
        // Every database the load read, missing files asked for, and the drive they are on.
        for (const std::wstring& index : indexes) {
            EXPECT_NE(summary.find(Json(index)), std::string::npos) << platform::WideToUtf8(index);
        }
        EXPECT_NE(summary.find("\"missing\":true"), std::string::npos);
        EXPECT_NE(summary.find(Json(drive->Path() + L"\\")), std::string::npos);
        EXPECT_FALSE(platform::PathExists(PartialFileOf(target)));
        const std::vector<std::wstring> lines = ConsoleLines(app);
        const auto saved = std::find_if(lines.begin(), lines.end(), [&](const std::wstring& line) {
            return line.rfind(L"QRB::Report::Saved::" + target + L" (", 0) == 0;
        });
        EXPECT_NE(saved, lines.end());
        EXPECT_TRUE(std::find(lines.begin(), lines.end(), L"QRB::Report::Open::" + target) != lines.end());

        // Saved again over the page there; a cancelled dialog writes nothing.
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        SendMessageW(window, WM_COMMAND, ID_SAVE_REPORT, 0);
        EXPECT_EQ(opened.size(), 2u);
        EXPECT_NE(ScriptElement(ReadWholeFile(target), "tw-summary").find("\"missing\":false"), std::string::npos);
        target.clear();
        SendMessageW(window, WM_COMMAND, ID_SAVE_REPORT, 0);
        EXPECT_EQ(proposed.size(), 3u);
        EXPECT_EQ(opened.size(), 2u);
    });
}

TEST_F(SaveReportGuiTest, WithNothingLoadedItSaysSoAndAsksNothing) {
    Run([&](HWND window, Application&) {
        std::vector<std::wstring> texts;
        WhenWindowAppears(ReportMessage(), [&](HWND box) {
            texts = TextsOf(box);
            ClickButton(box, IDOK);
        });
        SendMessageW(window, WM_COMMAND, ID_SAVE_REPORT, 0);
        EXPECT_TRUE(AllStepsRan());
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const std::wstring& text) {
            return text.rfind(L"Nothing is loaded yet: press \"Scan!\"", 0) == 0;
        }));
        EXPECT_TRUE(proposed.empty());
        EXPECT_TRUE(opened.empty());
    });
}

// A save that fails: the message names the file and the system's reason, the console the code, the browser is not
// asked, and a report that was there keeps its bytes.
TEST_F(SaveReportGuiTest, AFailedSaveIsShownAndKeepsTheFileThere) {
    fixtures::ScratchDir out(L"tw-gui-report-fail");
    const std::string old = "<html>the report of yesterday</html>";
    struct Case {
        const char* what;
        std::wstring target;
        bool existing;       // a report of yesterday is there
        bool readOnly;       // ... and read-only
        bool partialBlocked; // a folder has the temporary file's name
    };
    const Case cases[] = {
        {"a read-only report there", out / L"read-only.html", true, true, false},
        {"no room for the temporary file", out / L"blocked.html", true, false, true},
        {"a folder that is not there", out / L"gone\\report.html", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.existing) {
            ASSERT_TRUE(fixtures::WriteFile(c.target, old));
        }
        if (c.readOnly) {
            ASSERT_TRUE(SetFileAttributesW(c.target.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        if (c.partialBlocked) {
            ASSERT_TRUE(fixtures::MakeFolders(PartialFileOf(c.target)));
        }
        target = c.target;
        opened.clear();
        Run([&](HWND window, Application& app) {
            SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
            std::vector<std::wstring> texts;
            WhenWindowAppears(ReportMessage(), [&](HWND box) {
                texts = TextsOf(box);
                ClickButton(box, IDOK);
            });
            SendMessageW(window, WM_COMMAND, ID_SAVE_REPORT, 0);
            EXPECT_TRUE(AllStepsRan());
            const std::vector<std::wstring> lines = ConsoleLines(app);
            const std::wstring prefix = L"QRB::Report::" + c.target + L" : error ";
            const auto error = std::find_if(lines.begin(), lines.end(),
                                            [&](const std::wstring& line) { return line.rfind(prefix, 0) == 0; });
            ASSERT_NE(error, lines.end());
            const uint32_t code = static_cast<uint32_t>(std::stoul(error->substr(prefix.size())));
            EXPECT_NE(code, 0u);
            const std::wstring message =
                L"The report cannot be saved as\n" + c.target + L"\n\n" + platform::SystemErrorText(code);
            EXPECT_TRUE(std::find(texts.begin(), texts.end(), message) != texts.end());
            EXPECT_TRUE(opened.empty());
        });
        EXPECT_EQ(platform::PathExists(c.target), c.existing);
        if (c.existing) {
            EXPECT_EQ(ReadWholeFile(c.target), old);
        }
        // No temporary file is left: only the test's folder of that name.
        EXPECT_EQ(platform::PathExists(PartialFileOf(c.target)), c.partialBlocked);
        if (c.readOnly) {
            SetFileAttributesW(c.target.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

} // namespace
} // namespace tw::gui
