#include "cli/arguments.h"

#include "platform/platform.h"

#include <gtest/gtest.h>

namespace tw::cli {
namespace {

const std::vector<OptionSpec> kOptions{{L"--to", L"DIR", true},
                                       {L"--dry-run"},
                                       {L"--overwrite", L"ask|all|skip"},
                                       {L"--rebase", L"OLD=NEW", false, true},
                                       {L"--bins", L"PATH", false, false, true},
                                       {L"--verbose", nullptr, false, false, false, L"-v"}};

// Every way of writing one command line gives the same options and operands; each way of getting it wrong is
// refused with what is wrong.
TEST(ArgumentsTest, TakesEachOptionOneWayAndRefusesWhatTheCommandDoesNotTake) {
    const struct {
        Args args;
        ParseOutcome outcome;
        std::wstring to;
        std::vector<std::wstring> operands;
        std::wstring error;
    } cases[] = {
        {{L"--to", L"out", L"plan.tsv"}, ParseOutcome::ok, L"out", {L"plan.tsv"}, L""},
        {{L"--to=out", L"plan.tsv"}, ParseOutcome::ok, L"out", {L"plan.tsv"}, L""},
        {{L"plan.tsv", L"--to", L"a=b"}, ParseOutcome::ok, L"a=b", {L"plan.tsv"}, L""},
        {{L"--to", L"out", L"--", L"--dry-run", L"-"}, ParseOutcome::ok, L"out", {L"--dry-run", L"-"}, L""},
        {{L"--to", L"out", L"-v", L"x"}, ParseOutcome::ok, L"out", {L"x"}, L""},
        {{L"--to", L"out", L"--dryrun", L"x"}, ParseOutcome::usage, L"", {}, L"unknown option --dryrun; did you mean --dry-run?"},
        {{L"--to", L"out", L"--zzz", L"x"}, ParseOutcome::usage, L"", {}, L"unknown option --zzz"},
        {{L"--to", L"out", L"--overwrite=never"}, ParseOutcome::usage, L"", {}, L"--overwrite takes ask|all|skip, not \"never\""},
        {{L"--to"}, ParseOutcome::usage, L"", {}, L"--to needs a value (DIR)"},
        {{L"--to", L"a", L"--to", L"b"}, ParseOutcome::usage, L"", {}, L"--to is given twice"},
        {{L"--to", L"a", L"--dry-run=yes"}, ParseOutcome::usage, L"", {}, L"--dry-run takes no value"},
        {{L"plan.tsv"}, ParseOutcome::usage, L"", {}, L""},
        {{L"--to", L"a", L"--help"}, ParseOutcome::help, L"", {}, L""},
        {{L"-h"}, ParseOutcome::help, L"", {}, L""},
    };
    for (const auto& c : cases) {
        std::wstring joined;
        for (const std::wstring& a : c.args) {
            joined += a + L" ";
        }
        SCOPED_TRACE(platform::WideToUtf8(joined));
        CommandLine line;
        std::wstring error;
        ASSERT_EQ(ParseCommandLine(kOptions, false, c.args, line, error), c.outcome);
        EXPECT_EQ(error, c.error);
        if (c.outcome == ParseOutcome::ok) {
            EXPECT_EQ(line.Value(L"--to"), c.to);
            EXPECT_EQ(line.operands, c.operands);
        }
    }
}

TEST(ArgumentsTest, RepeatedTrailingAndFormatOptions) {
    CommandLine line;
    std::wstring error;
    ASSERT_EQ(ParseCommandLine(kOptions, true,
                               {L"--to", L"o", L"--rebase", L"M:\\=/m", L"--rebase=N:\\=/n", L"--format=csv",
                                L"--bins", L"a", L"b.avb", L"--", L"i.pmr"},
                               line, error),
              ParseOutcome::ok);
    EXPECT_EQ(line.Values(L"--rebase"), (std::vector<std::wstring>{L"M:\\=/m", L"N:\\=/n"}));
    EXPECT_EQ(line.Values(L"--bins"), (std::vector<std::wstring>{L"a", L"b.avb"}));
    EXPECT_EQ(line.operands, std::vector<std::wstring>{L"i.pmr"});
    EXPECT_TRUE(line.separated);
    EXPECT_EQ(line.format, OutputFormat::csv);
    // The trailing values end at another option of the command too.
    ASSERT_EQ(ParseCommandLine(kOptions, true, {L"--to", L"o", L"--bins", L"a", L"--format", L"json", L"i.pmr"}, line,
                               error),
              ParseOutcome::ok);
    EXPECT_EQ(line.Values(L"--bins"), (std::vector<std::wstring>{L"a"}));
    EXPECT_EQ(line.operands, std::vector<std::wstring>{L"i.pmr"});
    EXPECT_EQ(line.format, OutputFormat::json);
    // --format belongs to table commands only.
    EXPECT_EQ(ParseCommandLine(kOptions, false, {L"--to", L"o", L"--format", L"csv"}, line, error),
              ParseOutcome::usage);
    EXPECT_EQ(ParseCommandLine(kOptions, true, {L"--to", L"o", L"--format", L"xml"}, line, error),
              ParseOutcome::usage);
    EXPECT_EQ(error, L"--format takes tsv|csv|json, not \"xml\"");
}

TEST(ArgumentsTest, TheUsageLineShowsEveryOptionTheParserTakes) {
    EXPECT_EQ(Synopsis(L"copy", kOptions, true, L"PLAN"),
              L"copy --to DIR [--dry-run] [--overwrite ask|all|skip] [--rebase OLD=NEW]... [--bins PATH...] "
              L"[-v|--verbose] [--format F] PLAN");
}

TEST(ArgumentsTest, SuggestsOnlyANearOption) {
    EXPECT_EQ(EditDistance(L"--dryrun", L"--dry-run"), 1u);
    EXPECT_EQ(EditDistance(L"", L"abc"), 3u);
    EXPECT_EQ(EditDistance(L"kitten", L"sitting"), 3u);
    EXPECT_EQ(EditDistance(L"--yse", L"--yes"), 1u);
    const std::vector<std::wstring> names{L"--dry-run", L"--overwrite", L"--to", L"--yes"};
    EXPECT_EQ(NearestOf(L"--overwite", names), L"--overwrite");
    EXPECT_EQ(NearestOf(L"--yse", names), L"--yes");
    EXPECT_EQ(NearestOf(L"--force", names), L"");
    EXPECT_EQ(NearestOf(L"--t", names), L"");
}

} // namespace
} // namespace tw::cli
