// The report page: one self-contained HTML file of the loaded media, its data embedded as JSON and its script and
// style inline under a Content-Security-Policy that allows nothing else. The page's script, style and skeleton are
// src/ui/report/page.{js,css,html}, embedded at build time. tarnwick-cli report and the window's "Save Report..."
// write it; ui/report_input.h gathers what it shows.
#pragma once

#include "catalog/media_record.h"
#include "ui/hardware_tool_model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

// The states of a file, as bits; a file may hold several.
enum ReportState : uint32_t {
    kStateMissing = 1,      // named by its index, not on disk
    kStateUnreferenced = 2, // on disk, named by no index ("**UNREFERENCED FILES")
    kStateUnused = 4,       // bins were given and none references the file
    kStateUsed = 8,         // bins were given and one references the file
    kStateDuplicate = 16,   // its fileMobId is that of a file in another place
};

struct ReportDatabase {
    std::wstring indexPath;
    // The folder that holds the index and the media files.
    std::wstring folder;
    // Whether the index opened and its header was valid.
    bool opened = false;
    // The index reader met a damaged stretch and skipped it ("Bad data detected").
    bool damaged = false;
    // The records the database put in its catalog, unreferenced and (with --missing) missing files included.
    uint64_t entries = 0;
    // The drive that holds it: an index into ReportInput::drives, or -1 when no drive of the list holds it.
    int drive = -1;
};

struct ReportFile {
    const MediaRecord* record = nullptr; // owned by the catalogs of the caller, which outlive the page's making
    uint32_t database = 0;               // index into ReportInput::databases
    uint32_t states = 0;                 // ReportState bits
    uint32_t duplicateGroup = 0;         // 0: none; groups count from 1, the largest total first
};

struct ReportInput {
    std::wstring madeAt;  // "2026-12-11 08:30 UTC"
    std::wstring version; // "Tarnwick 0.3"
    bool binsGiven = false;
    bool includeMissing = false;
    std::vector<std::wstring> bins; // every bin read
    std::vector<DriveInfo> drives;
    std::vector<ReportDatabase> databases;
    // In the order of the load table (project, file name), then by path.
    std::vector<ReportFile> files;
};

// The whole page, UTF-8.
[[nodiscard]] std::string ReportPage(const ReportInput& input);

// The page's data as JSON text that cannot end the script element that holds it: "<", ">", "&", U+2028 and U+2029
// are written as \u escapes, as are control characters. Exposed for the tests.
void AppendJsonString(std::wstring_view text, std::string& out);

// SHA-256 of bytes, as base64: the form a Content-Security-Policy hash takes.
[[nodiscard]] std::string Sha256Base64(const std::string& bytes);

// The drive of the list whose root is the longest leading part of path, or -1.
[[nodiscard]] int DriveOfPath(const std::vector<DriveInfo>& drives, const std::wstring& path);

} // namespace tw
