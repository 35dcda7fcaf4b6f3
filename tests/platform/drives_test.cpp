#include "platform/platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw::platform {
namespace {

std::vector<std::wstring> Drives() {
    std::vector<wchar_t> buffer(DriveStrings(0, nullptr) + 1, L'\0');
    const uint32_t length = DriveStrings(static_cast<uint32_t>(buffer.size()), buffer.data());
    std::vector<std::wstring> roots;
    for (size_t i = 0; i < length && buffer[i] != L'\0'; i += roots.back().size() + 1) {
        roots.emplace_back(buffer.data() + i);
    }
    return roots;
}

// A root where no drive is: on Windows a free drive letter, elsewhere a path where nothing is mounted.
std::wstring NoDrive(const std::vector<std::wstring>& drives) {
#ifdef _WIN32
    for (wchar_t letter = L'Y'; letter > L'D'; --letter) {
        const std::wstring root = std::wstring(1, letter) + L":\\";
        bool used = false;
        for (const std::wstring& d : drives) {
            used = used || EqualIgnoringCase(d, root);
        }
        if (!used) {
            return root;
        }
    }
    return L"";
#else
    (void)drives;
    return L"/no/such/mount/point/";
#endif
}

TEST(DrivesTest, TheFirstDriveAnswersWithItsTypeSizeAndLabel) {
    const std::vector<std::wstring> drives = Drives();
    ASSERT_FALSE(drives.empty());
    for (const std::wstring& root : drives) {
        EXPECT_EQ(root.back(), kPathSeparator) << WideToUtf8(root);
    }
    const std::wstring& first = drives.front();
    EXPECT_EQ(DriveType(first), kDriveFixed);
    uint64_t total = 0;
    uint64_t free = 0;
    ASSERT_TRUE(DriveSpace(first, total, free));
    EXPECT_GT(total, 0u);
    EXPECT_LE(free, total);
    std::wstring label = L"unchanged";
    EXPECT_TRUE(VolumeLabel(first, label));
    EXPECT_LT(label.size(), 260u);
    EXPECT_NE(label, L"unchanged");
}

TEST(DrivesTest, WhereNoDriveIsNothingAnswers) {
    const std::wstring root = NoDrive(Drives());
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(DriveType(root), kDriveNoRootDir);
    uint64_t total = 7;
    uint64_t free = 8;
    EXPECT_FALSE(DriveSpace(root, total, free));
    EXPECT_EQ(total, 7u);
    EXPECT_EQ(free, 8u);
    std::wstring label = L"unchanged";
    EXPECT_FALSE(VolumeLabel(root, label));
    EXPECT_EQ(label, L"unchanged");
}

} // namespace
} // namespace tw::platform
