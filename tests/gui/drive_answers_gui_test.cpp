// Network drives that may not answer: asked at once on worker threads, waited for a bounded time together, named
// on the console when silent; the other drives asked on the window's thread.
#include "fixtures/drive_list.h"
#include "seams/console.h"
#include "ui/win32/drive_answers.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace tw {
namespace {

constexpr uint32_t kLimitMs = 400;
constexpr DWORD kSilenceMs = 4000;

// Asks drives whether they answer: the network ones among roots with a bounded wait, the silent ones answering
// long after the limit. Records the thread each drive was asked on.
DriveQuestion<bool> Question(const std::vector<std::wstring>& network, const std::vector<std::wstring>& silent,
                             std::shared_ptr<std::vector<std::pair<std::wstring, DWORD>>> askedOn) {
    DriveQuestion<bool> question;
    auto mutex = std::make_shared<std::mutex>();
    question.ask = [silent, askedOn, mutex](const std::wstring& root) {
        {
            const std::lock_guard<std::mutex> lock(*mutex);
            askedOn->emplace_back(root, GetCurrentThreadId());
        }
        if (std::find(silent.begin(), silent.end(), root) != silent.end()) {
            Sleep(kSilenceMs);
        }
        return true;
    };
    question.bounded = [network](const std::wstring& root) {
        return std::find(network.begin(), network.end(), root) != network.end();
    };
    question.limitMs = kLimitMs;
    return question;
}

TEST(DriveAnswersTest, SilentNetworkDrivesAreLeftOutAfterOneBoundedWait) {
    const std::vector<std::wstring> roots = {L"C:\\", L"M:\\", L"N:\\", L"D:\\", L"P:\\"};
    auto askedOn = std::make_shared<std::vector<std::pair<std::wstring, DWORD>>>();
    const DriveQuestion<bool> question = Question({L"M:\\", L"N:\\", L"P:\\"}, {L"N:\\", L"P:\\"}, askedOn);
    LineConsole console;
    const ULONGLONG start = GetTickCount64();
    const std::vector<std::wstring> answering =
        ReadDriveList(AnsweringDrives(fixtures::DriveList(roots), question, &console));
    const ULONGLONG elapsed = GetTickCount64() - start;

    EXPECT_EQ(answering, (std::vector<std::wstring>{L"C:\\", L"M:\\", L"D:\\"}));
    EXPECT_EQ(console.lines,
              (std::vector<std::wstring>{DriveNotAnsweringLine(L"N:\\"), DriveNotAnsweringLine(L"P:\\")}));
    EXPECT_EQ(console.lines[0], L"QRB::Drive::No answer::N:\\");
    // The two silent drives were waited for together, once, and not for their whole silence.
    EXPECT_GE(elapsed, kLimitMs - 20);
    EXPECT_LT(elapsed, 2 * kLimitMs);
    // Only the network drives were asked, each on a thread of its own.
    ASSERT_EQ(askedOn->size(), 3u);
    for (const auto& [root, thread] : *askedOn) {
        EXPECT_TRUE(root != L"C:\\" && root != L"D:\\") << static_cast<char>(root[0]);
        EXPECT_NE(thread, GetCurrentThreadId()) << static_cast<char>(root[0]);
    }
}

TEST(DriveAnswersTest, AnswersComeBackInTheDrivesOrder) {
    // Every drive answers, the network ones in the reverse order of their asking.
    DriveQuestion<int> question;
    question.ask = [](const std::wstring& root) {
        Sleep(static_cast<DWORD>((L'Z' - root[0]) * 20));
        return static_cast<int>(root[0]);
    };
    question.bounded = [](const std::wstring& root) { return root != L"C:\\"; };
    question.limitMs = 2000;
    LineConsole console;
    const std::vector<std::optional<int>> answers =
        AskDrives<int>({L"C:\\", L"X:\\", L"Y:\\", L"Z:\\"}, question, &console);
    EXPECT_EQ(answers, (std::vector<std::optional<int>>{'C', 'X', 'Y', 'Z'}));
    EXPECT_TRUE(console.lines.empty());
}

} // namespace
} // namespace tw
