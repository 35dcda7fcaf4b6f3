// The file list under Wine (or on Windows): showing one project of 20,000 records (or as many as the first
// argument says), as the list's refresh does it, against the floor of inserting the same rows' texts alone
// into the same kind of list, each at the end, the cheapest place (redraw held off in both, as the list does
// it). Target: at most 1.5 times the floor for 300,000 rows. Google Benchmark is not built for Windows here,
// so this program times both itself (best of several runs) and prints them with their ratio.
#include "catalog/media_catalog.h"
#include "resource.h"
#include "ui/win32/file_list_view.h"
#include "ui/win32/progress_dialog.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace tw;

int kRecords = 20000;
int kRuns = 3;

double Seconds() {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The file list whose notifications the frame hands on, as the main window does.
FileListView* shownList = nullptr;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && shownList != nullptr &&
        reinterpret_cast<const NMHDR*>(lParam)->idFrom == static_cast<UINT_PTR>(IDC_FILE_LIST)) {
        return shownList->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* FrameClass() {
    static const wchar_t* name = [] {
        WNDCLASSW frame{};
        frame.lpfnWndProc = FrameProc;
        frame.hInstance = GetModuleHandleW(nullptr);
        frame.lpszClassName = L"TarnwickBenchFrame";
        RegisterClassW(&frame);
        return frame.lpszClassName;
    }();
    return name;
}

// A list control like the main window's file list, in a window of its own.
struct ListWindow {
    HWND frame;
    HWND list;
    ListWindow() {
        frame = CreateWindowExW(0, FrameClass(), L"file list benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900,
                                600, nullptr, nullptr, nullptr, nullptr);
        list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0, 880,
                               560, frame, reinterpret_cast<HMENU>(IDC_FILE_LIST), nullptr, nullptr);
    }
    ~ListWindow() { DestroyWindow(frame); }
};

void Catalog(MediaCatalog& catalog) {
    for (int i = 0; i < kRecords; ++i) {
        auto r = std::make_unique<MediaRecord>();
        r->SetProjectName(std::wstring(L"Harbour Lights"));
        r->SetFileName(L"Interview " + std::to_wstring(i) + L"A1B2C3.omf");
        r->SetPath(std::wstring(L"D:\\OMFI MediaFiles"));
        r->SetNameInBin(L"Interview " + std::to_wstring(i));
        r->size = 1000000 + static_cast<uint64_t>(i) * 977;
        r->attributes = 0x20;
        r->creationTime = 133000000000000000ull + static_cast<uint64_t>(i) * 10000000ull;
        r->compUid = 0x0101010100000000ull + static_cast<uint64_t>(i);
        r->mediaKind = i % 7 == 0 ? 1 : 7;
        r->SetCompression(76, std::wstring(L"2:1"));
        catalog.AddRecord(std::move(r), false);
    }
    catalog.BuildIndex();
}

double Best(const std::function<double()>& run) {
    double best = 1e100;
    for (int i = 0; i < kRuns; ++i) {
        best = std::min(best, run());
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        kRecords = std::atoi(argv[1]);
    }
    if (argc > 2) {
        kRuns = std::atoi(argv[2]);
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    MediaCatalog catalog;
    Catalog(catalog);
    std::vector<std::wstring> names;
    for (bool r = catalog.FirstRecord(catalog.ProjectAt(0)); r; r = catalog.NextRecord()) {
        names.push_back(catalog.CurrentRecord()->fileName.str());
    }

    // Floor: the rows' texts alone, each inserted at the end.
    const double floor = Best([&] {
        ListWindow window;
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = 230;
        column.pszText = const_cast<wchar_t*>(L"Name");
        ListView_InsertColumn(window.list, 0, &column);
        const double start = Seconds();
        SendMessageW(window.list, WM_SETREDRAW, FALSE, 0);
        int row = 0;
        for (const std::wstring& name : names) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = row++;
            item.pszText = const_cast<wchar_t*>(name.c_str());
            ListView_InsertItem(window.list, &item);
        }
        SendMessageW(window.list, WM_SETREDRAW, TRUE, 0);
        UpdateWindow(window.list);
        return Seconds() - start;
    });

    // The list's own refresh: every row inserted and filled from its record, with the progress window the
    // refresh shows.
    int wrongCells = 0;
    const double rows = Best([&] {
        ListWindow window;
        FileListView::Services services;
        services.openProgress = [instance](const std::wstring& caption) -> std::unique_ptr<Progress> {
            auto dialog = ProgressDialog::Open(instance);
            if (dialog) {
                dialog->SetCaption(caption);
            }
            return dialog;
        };
        FileListView view(window.list, instance, catalog, services);
        shownList = &view;
        HWND status =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, window.frame, nullptr, nullptr, nullptr);
        view.Initialize(status);
        FileListState state(0);
        state.ShowProject(0, 0);
        const double start = Seconds();
        state.Refresh(FileListState::kQuietMs, view, catalog, services.openProgress);
        UpdateWindow(window.list);
        const double took = Seconds() - start;
        if (view.RowCount() != static_cast<size_t>(kRecords)) {
            std::fprintf(stderr, "file_list_bench: %zu rows instead of %d\n", view.RowCount(), kRecords);
        }
        // Every cell of rows spread over the list reads back through the control as a row refresh of a new
        // row writes it.
        wrongCells = 0;
        const int stride = std::max(1, kRecords / 2000);
        for (int row = 0; row < kRecords; row += stride) {
            const MediaRecord* record = view.RecordOfRow(row);
            if (record == nullptr) {
                ++wrongCells;
                continue;
            }
            std::vector<std::wstring> expected(kFileColumnCount);
            expected[0] = record->fileName.value_or(L"");
            for (const auto& [column, text] : CellUpdates(*record)) {
                expected[static_cast<size_t>(column)] = text;
            }
            for (int column = 0; column < kFileColumnCount; ++column) {
                wchar_t text[512] = {};
                ListView_GetItemText(window.list, row, column, text, 512);
                wrongCells += expected[static_cast<size_t>(column)] == text ? 0 : 1;
            }
        }
        shownList = nullptr;
        return took;
    });

    std::printf("%-40s %12s %14s\n", "Benchmark", "Time", "Rows/s");
    std::printf("%-40s %9.1f ms %14.0f\n", ("Floor_InsertRowTextsOnly/" + std::to_string(kRecords)).c_str(),
                floor * 1000, kRecords / floor);
    std::printf("%-40s %9.1f ms %14.0f   x_floor=%.2f\n",
                ("FileList_ShowProjectRows/" + std::to_string(kRecords)).c_str(), rows * 1000, kRecords / rows,
                rows / floor);
    if (wrongCells != 0) {
        std::fprintf(stderr, "file_list_bench: %d cells do not read back as a row refresh writes them\n", wrongCells);
        return 1;
    }
    return 0;
}
