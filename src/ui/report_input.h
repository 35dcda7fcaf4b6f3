// What the report page shows, gathered from loaded catalogs: each database read, the states of its files, the files in
// the order of the load table and the copies of one media file in several places. tarnwick-cli report and the
// window's "Save Report..." both gather it here.
#pragma once

#include "catalog/media_catalog.h"
#include "seams/console.h"
#include "seams/progress.h"
#include "ui/hardware_tool_model.h"
#include "ui/report_page.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tw {

// The line the index reader writes when it skips a damaged stretch.
inline constexpr wchar_t kBadDataLine[] = L"PMR File::Bad data detected, please rebuild your databases";

// A database loaded into a catalog, and the records it put there: the places firstRecord to
// firstRecord + database.entries - 1 (a catalog's places never move while it holds its records).
struct LoadedDatabase {
    ReportDatabase database;
    uint32_t firstRecord = 0;
};

// Loads the database of the index at indexPath into catalog as LoadDatabase does (with bin, as LoadDatabaseForBin
// does for the media the bin references), and notes what the report tells of it: whether its index opened, whether
// the index reader met damaged data, and the records it added. The load's lines go to console (may be null), which
// stays the catalog's console afterwards.
[[nodiscard]] LoadedDatabase LoadDatabaseForReport(MediaCatalog& catalog, const std::wstring& indexPath,
                                                   bool includeMissing, const ReferencedIds* bin, Progress* progress,
                                                   Console* console);

// The states of a record (ReportState bits): missing, unreferenced, and, when bins were read (referenced not null),
// used or unused by them.
[[nodiscard]] uint32_t ReportStatesOf(const MediaRecord& record, const ReferencedIds* referenced);

// Adds the database to input, and its records in catalog with their states. The records must outlive the page's
// making.
void AddReportDatabase(ReportInput& input, const MediaCatalog& catalog, const LoadedDatabase& loaded,
                       const ReferencedIds* referenced);

// Once every database is added: the drive of each database, the files in the order of the load table (by project,
// then file name, then folder), and the copies of one media file in several places marked.
void FinishReport(ReportInput& input);

// The report of one catalog that holds the records of several databases, as the window's does: each database's
// records, and the records that no database put there (media files dropped on their own) under one entry per folder,
// named by the folder. Made now, by this version, with drives as given.
[[nodiscard]] ReportInput CatalogReport(const MediaCatalog& catalog, const std::vector<LoadedDatabase>& databases,
                                        bool includeMissing, std::vector<DriveInfo> drives);

// The copies of one media file: records with one fileMobId in several places.
struct DuplicateGroup {
    // Places in the records given, in their order.
    std::vector<size_t> members;
    uint64_t totalBytes = 0;
    uint64_t largestBytes = 0;
};
// Groups the records by fileMobId (0 groups nothing); a file listed twice (under another spelling, through a link)
// counts once, as its first record. Only groups of two copies or more; the largest total first, then by fileMobId.
[[nodiscard]] std::vector<DuplicateGroup> GroupDuplicates(const std::vector<const MediaRecord*>& records);

// When the page is made, "2026-12-11 08:30 UTC", and by which version, "Tarnwick 0.3".
[[nodiscard]] std::wstring ReportTimeNow();
[[nodiscard]] std::wstring ReportVersionText();

} // namespace tw
