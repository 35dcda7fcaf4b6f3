#include "ui/hardware_tool_model.h"

#include "fixtures/drive_list.h"
#include "platform/drives.h"
#include "platform/text.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

DriveInfo Drive(const std::wstring& root, uint64_t total, uint64_t free, uint32_t type = platform::kDriveFixed,
                const std::wstring& label = L"MEDIA") {
    DriveInfo d;
    d.root = root;
    d.type = type;
    d.ready = true;
    d.totalBytes = total;
    d.freeBytes = free;
    d.volumeLabel = label;
    return d;
}

DriveInfo NotReady(const std::wstring& root, uint32_t type = platform::kDriveOptical) {
    DriveInfo d;
    d.root = root;
    d.type = type;
    return d;
}

TEST(HardwareToolModelTest, BarsShareOneScaleAndLabelsStandBesideTheLongest) {
    const std::vector<DriveInfo> drives = {
        Drive(L"C:\\", 500000000000ull, 100000000000ull),
        Drive(L"D:\\", 250000000000ull, 250000000000ull), // nothing used
        Drive(L"E:\\", 40000000000ull, 10000000000ull),
    };
    const DriveScale scale = ScaleDrives(drives);
    EXPECT_EQ(scale.shift, 31u);
    EXPECT_EQ(scale.largest, 232u);

    const std::vector<DriveRow> rows = LayOutDriveRows(drives);
    ASSERT_EQ(rows.size(), 3u);
    const int lengths[] = {232, 116, 80};
    const uint32_t ranges[] = {232, 116, 18};
    for (size_t r = 0; r < rows.size(); ++r) {
        const int bottom = 23 + 18 * static_cast<int>(r);
        EXPECT_EQ(rows[r].bar, (Rect{5, bottom - 18, 5 + lengths[r], bottom})) << r;
        EXPECT_EQ(rows[r].label, (Rect{252, bottom - 18, 552, bottom})) << r;
        EXPECT_EQ(rows[r].range, ranges[r]) << r;
        EXPECT_EQ(rows[r].position, static_cast<uint32_t>(drives[r].UsedBytes() >> 31)) << r;
        EXPECT_EQ(rows[r].barText, platform::FormatByteSize(drives[r].freeBytes)) << r;
    }
    EXPECT_EQ(rows[1].position, 0u);
    EXPECT_EQ(rows[0].labelText, L"C:\\ ( MEDIA ) -  " + platform::FormatByteSize(500000000000ull) + L" total / " +
                                     platform::FormatByteSize(400000000000ull) + L" used");
    EXPECT_EQ(rows[0].labelText, L"C:\\ ( MEDIA ) -  465 GB total / 372 GB used");
    EXPECT_EQ(HardwareToolGrowth(scale, rows.size()).width, 232 + 315);
}

TEST(HardwareToolModelTest, ADriveThatDoesNotAnswerHasAnEmptyBarOfTheShortestLengthAndNoText) {
    DriveInfo gone = NotReady(L"A:\\");
    gone.totalBytes = 900000000000ull; // whatever it held before, it counts for nothing now
    const std::vector<DriveInfo> drives = {gone, Drive(L"C:\\", 300, 0, platform::kDriveFixed, L"")};
    const DriveScale scale = ScaleDrives(drives);
    EXPECT_EQ(scale.shift, 0u);
    EXPECT_EQ(scale.largest, 300u);
    const std::vector<DriveRow> rows = LayOutDriveRows(drives);
    EXPECT_EQ(rows[0].bar, (Rect{5, 5, 85, 23}));
    EXPECT_EQ(rows[0].range, 0u);
    EXPECT_EQ(rows[0].position, 0u);
    EXPECT_EQ(rows[0].barText, L"");
    EXPECT_EQ(rows[0].labelText, L"A:\\ -  Device Not ready");
    EXPECT_EQ(rows[1].labelText, L"C:\\ (  ) -  300 bytes total / 300 bytes used");
    EXPECT_EQ(rows[1].bar.right, 305);

    const std::vector<DriveInfo> none = {NotReady(L"A:\\")};
    EXPECT_EQ(ScaleDrives(none).largest, 0u);
    EXPECT_EQ(LayOutDriveRows(none)[0].label.left, 20);
    EXPECT_TRUE(LayOutDriveRows({}).empty());
}

// Some file systems (network shares with quotas, Wine's mapped folders) report more free space than the drive
// holds. Used space is then none rather than the wrapped difference: the label says 0 bytes used, the bar is
// empty, and its text still gives the free space the drive reported.
TEST(HardwareToolModelTest, ADriveReportingMoreFreeThanItHoldsHasNothingUsed) {
    const DriveInfo odd = Drive(L"N:\\", 1000, 5000, platform::kDriveRemote, L"SHARE");
    EXPECT_EQ(odd.UsedBytes(), 0u);
    EXPECT_EQ(Drive(L"N:\\", 1000, 1000).UsedBytes(), 0u);
    EXPECT_EQ(Drive(L"N:\\", 1000, 999).UsedBytes(), 1u);
    const std::vector<DriveRow> rows = LayOutDriveRows({odd, Drive(L"C:\\", 300, 100)});
    EXPECT_EQ(rows[0].position, 0u);
    EXPECT_LE(rows[0].position, rows[0].range);
    EXPECT_EQ(rows[0].labelText, L"N:\\ ( SHARE ) -  1000 bytes total / 0 bytes used");
    EXPECT_EQ(rows[0].barText, platform::FormatByteSize(5000));
    EXPECT_EQ(rows[1].position, rows[1].range * 2 / 3);
}

TEST(HardwareToolModelTest, BackgroundsAndNamesByDriveType) {
    struct Case {
        uint32_t type;
        Colour background;
        const wchar_t* name;
    };
    const Colour pink{255, 223, 255};
    const Case cases[] = {
        {platform::kDriveRemote, {223, 255, 223}, L"network"},
        {platform::kDriveOptical, {255, 255, 223}, L"optical"},
        {platform::kDriveFixed, pink, L"fixed"},
        {platform::kDriveRemovable, pink, L"removable"},
        {platform::kDriveRamDisk, pink, L"ram disk"},
        {platform::kDriveNoRootDir, pink, L"no root"},
        {platform::kDriveUnknown, pink, L"unknown"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DriveBackground(c.type), c.background) << c.type;
        EXPECT_EQ(DriveTypeName(c.type), c.name) << c.type;
    }
}

TEST(HardwareToolModelTest, TheWindowGrowsByEighteenPixelsARow) {
    EXPECT_EQ(HardwareToolGrowth(DriveScale{31, 232}, 4).height, 72);
    EXPECT_EQ(HardwareToolGrowth(DriveScale{}, 0).width, 315);
    EXPECT_EQ(HardwareToolGrowth(DriveScale{}, 0).height, 0);
}

TEST(HardwareToolModelTest, QueriesTheDrivesOfTheList) {
    std::vector<wchar_t> buffer(platform::DriveStrings(0, nullptr) + 1, L'\0');
    (void)platform::DriveStrings(static_cast<uint32_t>(buffer.size()), buffer.data());
    const std::wstring first = buffer.data();
#ifdef _WIN32
    const std::wstring missing = L"B:\\";
#else
    const std::wstring missing = L"/no/such/mount/point/";
#endif
    const std::vector<DriveInfo> drives = QueryDrives(fixtures::DriveList({first, missing}));
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].root, first);
    EXPECT_TRUE(drives[0].ready);
    EXPECT_GT(drives[0].totalBytes, 0u);
    EXPECT_EQ(drives[0].type, platform::kDriveFixed);
    EXPECT_FALSE(drives[1].ready);
    EXPECT_EQ(drives[1].totalBytes, 0u);
    EXPECT_EQ(DriveLabelText(drives[1]), missing + L" -  Device Not ready");
}

} // namespace
} // namespace tw
