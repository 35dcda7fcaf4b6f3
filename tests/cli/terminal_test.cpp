// Ctrl+C counted while a run watches for it, and the text of a run's progress line.
#include "cli/plan_progress.h"
#include "cli/terminal.h"

#include <gtest/gtest.h>

#include <csignal>

namespace tw::cli {
namespace {

volatile std::sig_atomic_t handledBefore = 0;

void HandlerBefore(int) {
    handledBefore = handledBefore + 1;
}

TEST(InterruptWatchTest, CountsCtrlCWhileItLivesAndGivesTheHandlerBackAfterwards) {
    handledBefore = 0;
    const auto previous = std::signal(SIGINT, HandlerBefore);
    {
        InterruptWatch watch;
        EXPECT_EQ(watch.Count(), 0u);
        std::raise(SIGINT);
        std::raise(SIGINT);
        EXPECT_EQ(watch.Count(), 2u);
        EXPECT_EQ(handledBefore, 0);
    }
    std::raise(SIGINT);
    EXPECT_EQ(handledBefore, 1);
    {
        InterruptWatch watch; // a later watch counts from its own start
        EXPECT_EQ(watch.Count(), 0u);
    }
    std::signal(SIGINT, previous);
}

TEST(PlanProgressTest, ShowsFilesBytesRateAndTimeLeftBesideTheCaptionWhenItFits) {
    struct Case {
        const wchar_t* caption;
        PlanCounts counts;
        uint64_t elapsedMs;
        bool byBytes;
        const wchar_t* text;
    };
    const uint64_t mb = 1024 * 1024;
    const Case cases[] = {
        {L"Copying files....", {0, 12, 0, 400 * mb}, 0, true, L"Copying files....  0/12 files  0 bytes of 400 MB"},
        {L"Copying files....",
         {3, 12, 100 * mb, 400 * mb},
         500,
         true,
         L"Copying files....  3/12 files  100 MB of 400 MB"}, // no rate in the first second
        {L"Moving files....",
         {3, 12, 100 * mb, 400 * mb},
         4000,
         true,
         L"Moving files....  3/12 files  100 MB of 400 MB  25.0 MB/s  0:12 left"},
        {L"Storing files....",
         {1, 3, 10 * mb, 36010 * mb},
         1000,
         true,
         L"1/3 files  10.0 MB of 35.1 GB  10.0 MB/s  1:00:00 left"}, // the caption no longer fits
        {L"Deleting files....", {30, 120, 0, 0}, 2000, false, L"Deleting files....  30/120 files  0:06 left"},
        // One file copied and four skipped: the skipped files are not counted as done.
        {L"Copying files....", {5, 5, 1 * mb, 1 * mb, 4}, 0, true, L"Copying files....  1/5 files, 4 skipped  1.00 MB of 1.00 MB"},
        {L"Copying files....",
         {12, 12, 400 * mb, 400 * mb},
         8000,
         true,
         L"Copying files....  12/12 files  400 MB of 400 MB  50.0 MB/s  0:00 left"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlanProgressText(c.caption, c.counts, c.elapsedMs, c.byBytes), c.text);
        EXPECT_LE(PlanProgressText(c.caption, c.counts, c.elapsedMs, c.byBytes).size() + 7,
                  TerminalProgress::kLineWidth);
    }
}

} // namespace
} // namespace tw::cli
