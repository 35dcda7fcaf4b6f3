// The windows at the display's resolution: at 96 dots per inch every control stands exactly where it stood
// before the program scaled its pixel figures (the table below, read from that build); at every resolution no
// control's text is cut off, no two controls of a window overlap, and at up to 144 dots per inch every window
// fits a screen of 1280 by 900 pixels. tests/gui/CMakeLists.txt runs this suite once more at 120, 144 and
// 192 dots per inch, in a Wine prefix of its own.
#include "app/application.h"
#include "app/main_window.h"
#include "fixtures/drive_list.h"
#include "fixtures/file_io.h"
#include "fixtures/sample_drive.h"
#include "gui_harness.h"
#include "main_window_run.h"
#include "operations/file_system.h"
#include "resource.h"
#include "ui/dpi_scale.h"
#include "ui/file_list_model.h"
#include "ui/hardware_tool_model.h"
#include "ui/project_list_model.h"
#include "ui/win32/confirm_dialog.h"
#include "ui/win32/console_log.h"
#include "ui/win32/hardware_tool_window.h"
#include "ui/win32/media_info_dialog.h"
#include "ui/win32/progress_dialog.h"
#include "ui/win32/store_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace tw::gui {
namespace {

// One child control as it stands in its window.
struct Placed {
    int id;
    std::wstring className;
    RECT rect; // in the window's client pixels
};

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The direct children of window, in their order.
std::vector<HWND> Children(HWND window) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        children.push_back(c);
    }
    return children;
}

std::vector<Placed> Placement(HWND window) {
    std::vector<Placed> placed;
    for (HWND c : Children(window)) {
        placed.push_back({GetDlgCtrlID(c), ClassOf(c), RectInParent(c)});
    }
    return placed;
}

// The placement as rows of the table below, for a table that no longer matches.
std::string TableRows(const std::vector<Placed>& placed) {
    std::ostringstream out;
    for (const Placed& p : placed) {
        out << "        {" << p.id << ", L\"" << std::string(p.className.begin(), p.className.end()) << "\", {"
            << p.rect.left << ", " << p.rect.top << ", " << p.rect.right << ", " << p.rect.bottom << "}},\n";
    }
    return out.str();
}

// Where every control of each window stood at 96 dots per inch before the pixel figures were scaled.
const std::vector<Placed> kMainAt96 = {
    {1004, L"Button", {2, 3, 155, 42}},
    {1013, L"Static", {156, 3, 314, 42}},
    {1008, L"Button", {315, 3, 452, 20}},
    {1007, L"Button", {315, 24, 452, 41}},
    {1002, L"SysTreeView32", {2, 42, 452, 192}},
    {-1, L"Static", {455, 3, 457, 194}},
    {1006, L"Button", {459, 3, 699, 20}},
    {1018, L"Static", {459, 42, 699, 191}},
    {-1, L"Static", {702, 3, 704, 193}},
    {-1, L"Static", {2, 194, 292, 226}},
    {1014, L"Static", {293, 194, 911, 211}},
    {1005, L"SysListView32", {2, 227, 292, 485}},
    {1003, L"SysListView32", {293, 210, 911, 485}},
};
const std::vector<Placed> kHardwareAt96 = {
    {10285, L"msctls_progress32", {5, 5, 237, 23}}, {0, L"Static", {252, 5, 552, 23}},
    {10286, L"msctls_progress32", {5, 23, 85, 41}}, {0, L"Static", {252, 23, 552, 41}},
    {10287, L"msctls_progress32", {5, 41, 85, 59}}, {0, L"Static", {252, 41, 552, 59}},
    {10288, L"msctls_progress32", {5, 59, 85, 77}}, {0, L"Static", {252, 59, 552, 77}},
};
const std::vector<Placed> kProgressAt96 = {
    {1001, L"msctls_progress32", {8, 8, 466, 17}}, {1004, L"Static", {8, 18, 133, 33}},
    {1003, L"Static", {135, 18, 417, 33}},         {1002, L"Static", {419, 18, 466, 33}},
    {1006, L"Button", {389, 55, 466, 71}},         {10285, L"msctls_progress32", {8, 38, 466, 53}},
};
const std::vector<Placed> kConsoleAt96 = {
    {1001, L"Button", {2, 71, 77, 89}},
    {1002, L"Button", {80, 71, 155, 89}},
    {1006, L"ListBox", {2, 3, 580, 70}},
};
const std::vector<Placed> kConfirmAt96 = {
    {6, L"Button", {83, 11, 158, 31}},    {7, L"Button", {164, 11, 239, 31}},   {8, L"Button", {245, 11, 320, 31}},
    {9, L"Button", {326, 11, 401, 31}},   {2, L"Button", {407, 11, 482, 31}},   {1017, L"Static", {11, 36, 88, 51}},
    {1016, L"Static", {90, 36, 552, 87}}, {1019, L"Static", {11, 89, 88, 104}}, {1018, L"Static", {90, 89, 552, 140}},
};
const std::vector<Placed> kStoreAt96 = {
    {-1, L"Static", {11, 11, 82, 29}},       {1019, L"Edit", {86, 11, 427, 29}},
    {1005, L"Button", {429, 11, 458, 31}},   {1023, L"Button", {86, 36, 361, 51}},
    {1020, L"Button", {324, 57, 458, 87}},   {-1, L"Static", {11, 57, 320, 87}},
    {1021, L"Button", {324, 90, 458, 120}},  {-1, L"Static", {11, 90, 320, 120}},
    {1022, L"Button", {324, 125, 458, 155}}, {-1, L"Static", {11, 125, 320, 155}},
    {2, L"Button", {383, 159, 458, 180}},
};
const std::vector<Placed> kMediaInfoAt96 = {
    {1005, L"Button", {6, 3, 89, 21}},
    {1007, L"Button", {98, 2, 181, 20}},
    {1008, L"Button", {191, 2, 331, 20}},
    {1015, L"SysTreeView32", {6, 24, 450, 308}},
};

// Controls whose template rectangles touch: the dialog manager's rounding may let them share a row of pixels.
bool MayTouch(int a, int b) {
    return (a == IDC_FILE_STATUS && b == IDC_FILE_LIST) || (a == IDC_FILE_LIST && b == IDC_FILE_STATUS);
}

// The one caption that its column's specified width (60 pixels at 96 dots per inch) cuts at every resolution.
bool CutByItsWidth(const std::wstring& caption) {
    return caption == L"Compression";
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The extent of text in control's font: one line, or wrapped at width when width is positive.
SIZE TextExtent(HWND control, const std::wstring& text, int width, UINT extraFormat = 0) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width > 0 ? width : 0, 0};
    const UINT format = DT_CALCRECT | DT_EXPANDTABS | extraFormat | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, text.c_str(), -1, &r, format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

// Every text of a window's controls fits the control: labels wrap within their width and height, buttons
// hold their caption on one line inside their frame, list headers hold their captions beside their markers.
void ExpectTextsFit(HWND window, const std::string& name) {
    const int dpi = ScreenDpi();
    for (HWND c : Children(window)) {
        if (!IsWindowVisible(c)) {
            continue;
        }
        const std::wstring className = ClassOf(c);
        const std::wstring text = WindowText(c);
        const LONG style = GetWindowLongW(c, GWL_STYLE);
        RECT client{};
        GetClientRect(c, &client);
        const std::string where =
            name + " control " + std::to_string(GetDlgCtrlID(c)) + " \"" + std::string(text.begin(), text.end()) + "\"";
        if (lstrcmpiW(className.c_str(), L"Static") == 0 && !text.empty()) {
            const LONG kind = style & SS_TYPEMASK;
            if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP) {
                continue;
            }
            if ((style & SS_ELLIPSISMASK) != 0) {
                continue; // shortened on purpose, with an ellipsis
            }
            const bool wraps = kind != SS_LEFTNOWORDWRAP;
            const SIZE extent = TextExtent(c, text, wraps ? client.right : 0);
            EXPECT_LE(extent.cx, client.right) << where;
            EXPECT_LE(extent.cy, client.bottom) << where;
        } else if (lstrcmpiW(className.c_str(), L"Button") == 0 && !text.empty()) {
            const LONG kind = style & BS_TYPEMASK;
            const SIZE extent = TextExtent(c, text, 0, DT_HIDEPREFIX);
            if (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON) {
                const int frame = 2 * GetSystemMetrics(SM_CXEDGE);
                EXPECT_LE(extent.cx + 2 * frame, client.right) << where;
                EXPECT_LE(extent.cy, client.bottom) << where;
            } else {
                const int box = GetSystemMetrics(SM_CXMENUCHECK) + ScaleForDpi(4, dpi);
                EXPECT_LE(extent.cx + box, client.right) << where;
            }
        } else if (lstrcmpiW(className.c_str(), WC_LISTVIEWW) == 0) {
            HWND header = ListView_GetHeader(c);
            for (int i = 0; i < Header_GetItemCount(header); ++i) {
                wchar_t caption[128] = {};
                HDITEMW item{};
                item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_BITMAP;
                item.pszText = caption;
                item.cchTextMax = 128;
                Header_GetItem(header, i, &item);
                if (item.cxy == 0 || CutByItsWidth(caption)) {
                    continue; // a hidden column, or one cut at every resolution
                }
                BITMAP marker{};
                if ((item.fmt & HDF_BITMAP) != 0 && item.hbm != nullptr) {
                    GetObjectW(item.hbm, sizeof marker, &marker);
                }
                // The header's margins: three edges on either side of the caption and of its marker.
                const int margin = 3 * GetSystemMetrics(SM_CXEDGE);
                const SIZE extent = TextExtent(header, caption, 0);
                EXPECT_LE(extent.cx + marker.bmWidth + 4 * margin, item.cxy)
                    << where << " column " << i << " \"" << std::string(caption, caption + lstrlenW(caption)) << "\"";
            }
        }
    }
}

// No two visible controls of a window share a pixel.
void ExpectNoOverlap(HWND window, const std::string& name) {
    std::vector<HWND> shown;
    for (HWND c : Children(window)) {
        if (IsWindowVisible(c)) {
            shown.push_back(c);
        }
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const RECT a = RectInParent(shown[i]);
            const RECT b = RectInParent(shown[j]);
            RECT both{};
            const bool overlap = IntersectRect(&both, &a, &b) != 0;
            const bool touch = MayTouch(GetDlgCtrlID(shown[i]), GetDlgCtrlID(shown[j])) &&
                               std::min(both.right - both.left, both.bottom - both.top) <= ScaleForDpi(1, ScreenDpi());
            EXPECT_FALSE(overlap && !touch)
                << name << ": controls " << GetDlgCtrlID(shown[i]) << " and " << GetDlgCtrlID(shown[j]) << " overlap";
        }
    }
}

// What is checked of every window at every resolution, and at 96 dots per inch its table.
void CheckWindow(HWND window, const std::string& name, const std::vector<Placed>& at96) {
    const int dpi = ScreenDpi();
    SCOPED_TRACE(name + " at " + std::to_string(dpi) + " dpi");
    ExpectTextsFit(window, name);
    ExpectNoOverlap(window, name);
    if (dpi <= 144) {
        RECT outer{};
        GetWindowRect(window, &outer);
        EXPECT_LE(outer.right - outer.left, 1280) << name;
        EXPECT_LE(outer.bottom - outer.top, 900) << name;
    }
    if (dpi == kDefaultDpi) {
        const std::vector<Placed> now = Placement(window);
        bool same = now.size() == at96.size();
        for (size_t i = 0; same && i < now.size(); ++i) {
            same = now[i].id == at96[i].id && now[i].className == at96[i].className && now[i].rect == at96[i].rect;
        }
        EXPECT_TRUE(same) << name << " now stands:\n" << TableRows(now);
    }
}

// The width of the marker bitmap on each column of a list's header.
std::vector<int> MarkerWidths(HWND list) {
    HWND header = ListView_GetHeader(list);
    std::vector<int> widths;
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
        HDITEMW item{};
        item.mask = HDI_BITMAP | HDI_FORMAT;
        Header_GetItem(header, i, &item);
        BITMAP marker{};
        if ((item.fmt & HDF_BITMAP) == 0 || item.hbm == nullptr || GetObjectW(item.hbm, sizeof marker, &marker) == 0) {
            widths.push_back(0);
        } else {
            widths.push_back(marker.bmWidth);
        }
    }
    return widths;
}

// The column whose marker differs from every other column's (the sorted one), or -1.
int MarkedColumn(HWND list) {
    HWND header = ListView_GetHeader(list);
    std::vector<HBITMAP> markers;
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
        HDITEMW item{};
        item.mask = HDI_BITMAP;
        Header_GetItem(header, i, &item);
        markers.push_back(item.hbm);
    }
    for (size_t i = 0; i < markers.size(); ++i) {
        if (std::count(markers.begin(), markers.end(), markers[i]) == 1 && markers.size() > 2) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The width of bitmap id as the program holds it, at 96 dots per inch.
int BitmapWidthAt96(int id) {
    HBITMAP bitmap = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    return info.bmWidth;
}

// The character height of the font a control draws with (negative: in pixels, without the internal leading).
LONG FontHeightOf(HWND control) {
    LOGFONTW font{};
    auto* handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle == nullptr || GetObjectW(handle, sizeof font, &font) == 0) {
        return 0;
    }
    return font.lfHeight;
}

class DpiLayoutGuiTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        drive = std::make_unique<fixtures::ScratchDir>(L"tw-dpi-drive");
        std::vector<std::wstring> indexes;
        ASSERT_TRUE(fixtures::WriteSampleDrive(drive->Path(), 60, 11, 256, indexes));
    }
    static void TearDownTestSuite() { drive.reset(); }

    static std::unique_ptr<fixtures::ScratchDir> drive;
};

std::unique_ptr<fixtures::ScratchDir> DpiLayoutGuiTest::drive;

TEST_F(DpiLayoutGuiTest, TheDisplayIsAtTheResolutionTheRunAskedFor) {
    const char* wanted = std::getenv("TW_TEST_DPI");
    EXPECT_EQ(ScreenDpi(), wanted != nullptr ? std::atoi(wanted) : kDefaultDpi);
}

TEST_F(DpiLayoutGuiTest, TheMainWindowWithALoadedCatalog) {
    RunMainWindowOn({drive->Path() + L"\\"}, [](HWND window, Application&, MainWindow&) {
        SendMessageW(window, WM_COMMAND, IDC_SCAN, 0);
        HWND projects = GetDlgItem(window, IDC_PROJECT_LIST);
        ListView_SetItemState(projects, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        HWND files = GetDlgItem(window, IDC_FILE_LIST);
        ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(files) > 0; }, 5000));
        CheckWindow(window, "main window", kMainAt96);
    });
}

// The main window moved to a display of a fifth less resolution (one that it fits at whatever resolution this
// runs at) takes the frame the system proposes, scales
// its columns and keeps its lists at the frame's edges; moved back, it is as it was.
TEST_F(DpiLayoutGuiTest, TheMainWindowFollowsAChangeOfResolution) {
    RunMainWindowOn({drive->Path() + L"\\"}, [](HWND window, Application&, MainWindow&) {
        const int dpi = ScreenDpi();
        HWND files = GetDlgItem(window, IDC_FILE_LIST);
        HWND projects = GetDlgItem(window, IDC_PROJECT_LIST);
        RECT before{};
        GetWindowRect(window, &before);
        const RECT filesBefore = RectInParent(files);
        auto columnWidths = [](HWND list, int count) {
            std::vector<int> widths;
            for (int i = 0; i < count; ++i) {
                widths.push_back(ListView_GetColumnWidth(list, i));
            }
            return widths;
        };
        const std::vector<int> fileWidths = columnWidths(files, kFileColumnCount);
        // Sorted by a column first, so that the markers differ.
        NMLISTVIEW click{};
        click.hdr.hwndFrom = files;
        click.hdr.idFrom = IDC_FILE_LIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = 2;
        SendMessageW(window, WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
        ASSERT_EQ(MarkedColumn(files), 2);
        const int markerAt96 = BitmapWidthAt96(IDB_UNSORTED);
        for (HWND list : {files, projects}) {
            for (int width : MarkerWidths(list)) {
                EXPECT_EQ(width, ScaleForDpi(markerAt96, dpi));
            }
        }

        const int lower = dpi * 4 / 5;
        RECT suggested{20, 10, 20 + RescaleForDpi(before.right - before.left, dpi, lower),
                       10 + RescaleForDpi(before.bottom - before.top, dpi, lower)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(lower, lower), reinterpret_cast<LPARAM>(&suggested));
        PumpUntil([] { return false; }, 100);
        RECT after{};
        GetWindowRect(window, &after);
        EXPECT_TRUE(after == suggested);
        for (int i = 0; i < kFileColumnCount; ++i) {
            EXPECT_EQ(ListView_GetColumnWidth(files, i), RescaleForDpi(fileWidths[static_cast<size_t>(i)], dpi, lower))
                << "file column " << i;
        }
        for (int i = 0; i < kProjectColumnCount; ++i) {
            EXPECT_EQ(ListView_GetColumnWidth(projects, i), ScaleForDpi(kProjectColumns[i].width, lower));
        }
        EXPECT_EQ(RectInParent(files).right, (after.right - after.left) - ScaleForDpi(9, lower));
        // The sort markers are drawn for the new resolution, the sorted one still on its column.
        for (HWND list : {files, projects}) {
            for (int width : MarkerWidths(list)) {
                EXPECT_EQ(width, ScaleForDpi(markerAt96, lower));
            }
        }
        EXPECT_EQ(MarkedColumn(files), 2);

        const std::vector<int> lowerWidths = columnWidths(files, kFileColumnCount);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&before));
        PumpUntil([] { return false; }, 100);
        // Widths the user may have dragged are scaled from what they are: back and forth they may round a pixel.
        for (int i = 0; i < kFileColumnCount; ++i) {
            const size_t c = static_cast<size_t>(i);
            EXPECT_EQ(ListView_GetColumnWidth(files, i), RescaleForDpi(lowerWidths[c], lower, dpi)) << "column " << i;
            EXPECT_NEAR(ListView_GetColumnWidth(files, i), fileWidths[c], 1) << "column " << i;
        }
        EXPECT_TRUE(RectInParent(files) == filesBefore);
        for (HWND list : {files, projects}) {
            for (int width : MarkerWidths(list)) {
                EXPECT_EQ(width, ScaleForDpi(markerAt96, dpi));
            }
        }
        EXPECT_EQ(MarkedColumn(files), 2);
    });
}

TEST_F(DpiLayoutGuiTest, TheHardwareTool) {
    DriveQuestion<DriveInfo> question;
    question.ask = [](const std::wstring& root) {
        DriveInfo d;
        d.root = root;
        d.type = root == L"E:\\" ? 5u : 3u;
        d.ready = root != L"F:\\";
        d.totalBytes = root == L"C:\\" ? 500000000000ull : 40000000000ull;
        d.freeBytes = d.ready ? d.totalBytes / 3 : 0;
        d.volumeLabel = d.ready ? L"MEDIA" : L"";
        return d;
    };
    HardwareToolWindow tool(GetModuleHandleW(nullptr), fixtures::DriveList({L"C:\\", L"D:\\", L"E:\\", L"F:\\"}),
                            nullptr, question);
    WhenWindowAppears(CaptionIs(L"Hardware tool"), [](HWND window) {
        CheckWindow(window, "hardware tool", kHardwareAt96);
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    tool.Run(nullptr);
    EXPECT_TRUE(AllStepsRan());
    ForgetSteps();
}

// The Hardware tool moved to a display of a fifth less resolution takes the frame the system proposes, and its
// rows their places and fonts at that resolution; moved back, it is as it was.
TEST_F(DpiLayoutGuiTest, TheHardwareToolFollowsAChangeOfResolution) {
    DriveQuestion<DriveInfo> question;
    question.ask = [](const std::wstring& root) {
        DriveInfo d;
        d.root = root;
        d.type = 3;
        d.ready = true;
        d.totalBytes = root == L"C:\\" ? 500000000000ull : 40000000000ull;
        d.freeBytes = d.totalBytes / 3;
        d.volumeLabel = L"MEDIA";
        return d;
    };
    HardwareToolWindow tool(GetModuleHandleW(nullptr), fixtures::DriveList({L"C:\\", L"D:\\"}), nullptr, question);
    WhenWindowAppears(CaptionIs(L"Hardware tool"), [](HWND window) {
        const int dpi = ScreenDpi();
        // The rows' bars (ids from IDC_DRIVE_BAR_FIRST) and labels (sunken statics), in row order.
        std::vector<HWND> rowControls;
        for (HWND c : Children(window)) {
            const int id = GetDlgCtrlID(c);
            const bool bar = id >= IDC_DRIVE_BAR_FIRST && id < IDC_DRIVE_BAR_FIRST + 2;
            const bool label =
                lstrcmpiW(ClassOf(c).c_str(), L"Static") == 0 && (GetWindowLongW(c, GWL_STYLE) & SS_SUNKEN) != 0;
            if (bar || label) {
                rowControls.push_back(c);
            }
        }
        ASSERT_EQ(rowControls.size(), 4u);
        std::vector<RECT> places;
        for (HWND c : rowControls) {
            places.push_back(RectInParent(c));
            EXPECT_EQ(FontHeightOf(c), -ScaleForDpi(10, dpi));
        }
        RECT before{};
        GetWindowRect(window, &before);

        const int lower = dpi * 4 / 5;
        RECT suggested{30, 20, 30 + RescaleForDpi(before.right - before.left, dpi, lower),
                       20 + RescaleForDpi(before.bottom - before.top, dpi, lower)};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(lower, lower), reinterpret_cast<LPARAM>(&suggested));
        RECT after{};
        GetWindowRect(window, &after);
        EXPECT_TRUE(after == suggested);
        for (size_t i = 0; i < rowControls.size(); ++i) {
            SCOPED_TRACE("row control " + std::to_string(i));
            EXPECT_EQ(FontHeightOf(rowControls[i]), -ScaleForDpi(10, lower));
            // Each place is scaled from its figure at 96 dots per inch: a pixel of rounding apart from the old one.
            const RECT now = RectInParent(rowControls[i]);
            EXPECT_NEAR(now.left, RescaleForDpi(places[i].left, dpi, lower), 1);
            EXPECT_NEAR(now.top, RescaleForDpi(places[i].top, dpi, lower), 1);
            EXPECT_NEAR(now.right, RescaleForDpi(places[i].right, dpi, lower), 1);
            EXPECT_NEAR(now.bottom, RescaleForDpi(places[i].bottom, dpi, lower), 1);
        }
        ExpectNoOverlap(window, "hardware tool at " + std::to_string(lower) + " dpi");

        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&before));
        for (size_t i = 0; i < rowControls.size(); ++i) {
            EXPECT_TRUE(RectInParent(rowControls[i]) == places[i]) << "row control " << i;
            EXPECT_EQ(FontHeightOf(rowControls[i]), -ScaleForDpi(10, dpi));
        }
        PostMessageW(window, WM_CLOSE, 0, 0);
    });
    tool.Run(nullptr);
    EXPECT_TRUE(AllStepsRan());
    ForgetSteps();
}

TEST_F(DpiLayoutGuiTest, TheProgressDialogWithItsFileBar) {
    std::unique_ptr<ProgressDialog> dialog = ProgressDialog::Open(GetModuleHandleW(nullptr));
    ASSERT_NE(dialog, nullptr);
    dialog->SetCaption(L"Copying files....");
    dialog->AddFileBar();
    dialog->SetFileText(L"D:\\OMFI MediaFiles\\A01C03_SCENE12_TAKE4.V1.omf");
    dialog->SetProgress(420, 1000);
    PumpUntil([] { return false; }, 200); // the timer writes the times
    CheckWindow(dialog->Window(), "progress dialog", kProgressAt96);
}

TEST_F(DpiLayoutGuiTest, TheConsole) {
    std::unique_ptr<ConsoleLog> console = ConsoleLog::Create(GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(console, nullptr);
    console->ShowConsole();
    CheckWindow(console->Window(), "console", kConsoleAt96);
}

TEST_F(DpiLayoutGuiTest, TheConfirmationStoreAndMediaInfoDialogs) {
    ConfirmDialog confirm(nullptr);
    WhenWindowAppears([](HWND w) { return GetParent(w) == nullptr && WindowText(w).rfind(L"QRB::Confirm", 0) == 0; },
                      [](HWND dialog) {
                          CheckWindow(dialog, "confirmation", kConfirmAt96);
                          ClickButton(dialog, IDCANCEL);
                      });
    (void)confirm.AskOverwrite(L"D:\\OMFI MediaFiles\\Project Harbour\\A01C03_SCENE12_TAKE4.V1.omf",
                               L"E:\\Archive\\Project Harbour\\A01C03_SCENE12_TAKE4.V1.omf");

    struct NoFiles : FileSelection {
        [[nodiscard]] int FirstSelected() const override { return -1; }
        [[nodiscard]] int NextSelected(int) const override { return -1; }
        [[nodiscard]] size_t SelectedCount() const override { return 0; }
        [[nodiscard]] MediaRecord* RecordOf(int) const override { return nullptr; }
        void Deselect(int) override {}
        void RefreshItem(int, const MediaRecord&) override {}
        [[nodiscard]] uint64_t SelectedSize() const override { return 0; }
    } selection;
    FileSystem files;
    StoreDialog store(GetModuleHandleW(nullptr), nullptr, {selection, files, nullptr, nullptr});
    WhenWindowAppears(CaptionIs(L"Store selected files..."), [](HWND dialog) {
        CheckWindow(dialog, "store dialog", kStoreAt96);
        ClickButton(dialog, IDCANCEL);
    });
    store.Run(nullptr);

    BentoContainer container;
    MediaInfoDialog info(GetModuleHandleW(nullptr), container, nullptr);
    WhenWindowAppears(CaptionIs(L"Media Info -- Double click on bold items to expand"), [](HWND dialog) {
        CheckWindow(dialog, "media info", kMediaInfoAt96);
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    info.Run(nullptr);
    EXPECT_TRUE(AllStepsRan());
    ForgetSteps();
}

} // namespace
} // namespace tw::gui
