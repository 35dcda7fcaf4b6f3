// The platform's order of text without regard to letter case. The same table of cases runs natively (the
// portable weights) and under Windows (CompareStringW); on Windows the portable weights are also held
// against the platform's own order on generated text.
#include "platform/collation.h"
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tw::platform {
namespace {

int Sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

TEST(CollationTest, OrdersAsTheListsAndTheTreeSort) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int order;
    };
    const std::vector<Case> cases = {
        // Letters whatever their case, then accents; punctuation before digits before letters.
        {L"clip", L"CLIP", 0},
        {L"\u00e9", L"\u00c9", 0},
        {L"abc", L"ABD", -1},
        {L"\u00c9mission", L"Film", -1},
        {L"e", L"\u00e9", -1},
        {L"\u00e9", L"f", -1},
        {L"\u00e9a", L"eb", -1},
        {L"ea", L"\u00e9", 1},
        {L"Z", L"\u00e4", 1},
        {L"A_2", L"A1", -1},
        {L"file.omf", L"file_omf", -1},
        {L"a b", L"ab", -1},
        {L"$", L"0", -1},
        {L"a1", L"a10", -1},
        {L"a2", L"a10", 1},
        {L"", L"a", -1},
        // Hyphens and apostrophes count only when all else is equal.
        {L"Clip1", L"Clip-9", -1},
        {L"co-op", L"cop", -1},
        {L"coop", L"co-op", -1},
        {L"a-b", L"a'b", 1},
        {L"a-bc", L"ab-c", 1},
        {L"a--b", L"a-b", 1},
        // Letters written as two.
        {L"strasse", L"stra\u00dfe", 0},
        {L"\u00e6", L"ae", 0},
        {L"\u00f8", L"p", -1},
        {L"oz", L"\u00f8", 1},
        // Other scripts after the Latin letters, Greek before Cyrillic, each without regard to case.
        {L"\u0391", L"\u03b1", 0},
        {L"z", L"\u03b1", -1},
        {L"\u03b1", L"\u0430", -1},
        {L"\u0410", L"\u0430", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << WideToUtf8(c.a) << " | " << WideToUtf8(c.b));
        EXPECT_EQ(Sign(CompareTextIgnoringCase(c.a, c.b)), c.order);
        EXPECT_EQ(Sign(CompareTextIgnoringCase(c.b, c.a)), -c.order);
    }
}

#ifdef _WIN32
// Generated text from the characters that file and project names are made of, compared both ways.
TEST(CollationTest, ThePortableWeightsOrderAsThePlatformDoes) {
    std::wstring pool = L" !#$%&()+,.;=@[]^_`{}~0123456789";
    for (wchar_t c = L'a'; c <= L'z'; ++c) {
        pool += c;
        pool += static_cast<wchar_t>(c - L'a' + L'A');
    }
    pool += L"-'\u00c0\u00c4\u00c5\u00c6\u00c7\u00c9\u00d1\u00d6\u00d8\u00dc\u00df\u00e0\u00e4\u00e5\u00e6\u00e7\u00e8"
            L"\u00e9\u00ea\u00f1\u00f6\u00f8\u00fc\u00fe\u0131\u0142\u0153\u0161\u017e\u0391\u03b1\u0416\u0436\u2013"
            L"\u20ac\u00bd\u00b2";
    std::mt19937 random(7);
    auto text = [&]() {
        std::wstring s;
        for (size_t n = random() % 5; n != 0; --n) {
            s += pool[random() % pool.size()];
        }
        return s;
    };
    int mismatches = 0;
    for (int i = 0; i < 20000 && mismatches < 10; ++i) {
        const std::wstring a = text();
        // Half of the pairs share a prefix, so that later characters, accents and marks decide.
        const std::wstring b = i % 2 == 0 ? text() : a.substr(0, a.size() / 2) + text();
        const int platform = Sign(CompareTextIgnoringCase(a, b));
        const int portable = Sign(CollateIgnoringCase(a, b));
        if (platform != portable) {
            ++mismatches;
            ADD_FAILURE() << WideToUtf8(a) << " | " << WideToUtf8(b) << ": platform " << platform << ", portable "
                          << portable;
        }
    }
}
#endif

} // namespace
} // namespace tw::platform
