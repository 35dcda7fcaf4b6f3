// The report page's own text: data that cannot end its script element, the hashes its policy names, the drive of a
// database.
#include "ui/report_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw {
namespace {

std::string Json(const std::wstring& text) {
    std::string out;
    AppendJsonString(text, out);
    return out;
}

TEST(ReportPage, JsonTextsCannotEndTheirScriptElement) {
    const struct {
        std::wstring text;
        std::string json;
    } cases[] = {
        {L"</script><img src=x onerror=alert(1)>", R"("\u003c/script\u003e\u003cimg src=x onerror=alert(1)\u003e")"},
        {L"<!-- a & b -->", R"("\u003c!-- a \u0026 b --\u003e")"},
        {L"\"quoted\" \\ 'single'", R"("\"quoted\" \\ 'single'")"},
        {L"bell\x07 tab\t line\n del\x7F", R"("bell\u0007 tab\u0009 line\u000a del\u007f")"},
        {L"line\u2028para\u2029", R"("line\u2028para\u2029")"},
        {L"Caf\u00e9 \u202e", "\"Caf\xc3\xa9 \xe2\x80\xae\""},
        {L"", R"("")"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Json(c.text), c.json);
    }
}

TEST(ReportPage, Sha256Base64MatchesTheStandardVectors) {
    EXPECT_EQ(Sha256Base64(""), "47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=");
    EXPECT_EQ(Sha256Base64("abc"), "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
    // 56 bytes: the length goes into a second block.
    EXPECT_EQ(Sha256Base64("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "JI1qYdIGOLjlwCaTDD5gOaM85Flk/yFn9uzt1BnbBsE=");
    EXPECT_EQ(Sha256Base64(std::string(1000, 'a')), "Qe3s5C1j6Nm/UVqbppMuHCDLyfWl0TRkWttdsblzfqM=");
}

TEST(ReportPage, TheDriveOfAPathIsTheLongestRootThatHoldsIt) {
    std::vector<DriveInfo> drives(5);
    drives[0].root = L"/";
    drives[1].root = L"/media/MEDIA1";
    drives[2].root = L"/media/MEDIA10";
    drives[3].root = L"C:\\";
    drives[4].root = L"\\\\server\\share\\";
    const struct {
        std::wstring path;
        int drive;
    } cases[] = {
        {L"/media/MEDIA1/OMFI MediaFiles", 1},
        {L"/media/MEDIA1", 1},
        {L"/media/MEDIA10/Avid MediaFiles", 2},
        {L"/media/MEDIA100/OMFI MediaFiles", 0},
        {L"/home/editor", 0},
        {L"c:\\OMFI MediaFiles", 3},
        {L"D:\\OMFI MediaFiles", -1},
        {L"\\\\server\\share\\x", 4},
        {L"", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DriveOfPath(drives, c.path), c.drive) << std::string(c.path.begin(), c.path.end());
    }
}

TEST(ReportPage, ThePolicyNamesTheHashesOfItsOwnScriptAndStyle) {
    MediaRecord record;
    record.SetProjectName(L"</script><script>alert(1)</script>");
    record.SetFileName(L"<style>*{}</style>.omf");
    record.SetPath(L"/media/x");
    ReportInput input;
    input.files.push_back({&record, 0, 0, 0});
    input.databases.push_back({L"/media/x/msmFMID.pmr", L"/media/x", true, false, 1, -1});
    const std::string page = ReportPage(input);
    const auto between = [&page](const std::string& open, const std::string& close) {
        const size_t start = page.find(open) + open.size();
        return page.substr(start, page.find(close, start) - start);
    };
    const std::string script = between("<script>", "</script>");
    const std::string style = between("<style>", "</style>");
    EXPECT_NE(page.find("script-src 'sha256-" + Sha256Base64(script) + "'"), std::string::npos);
    EXPECT_NE(page.find("style-src 'sha256-" + Sha256Base64(style) + "'"), std::string::npos);
    EXPECT_NE(page.find("default-src 'none'"), std::string::npos);
    // Two data elements and one script, each closed once; the names are inside the data, escaped.
    size_t closings = 0;
    for (size_t at = page.find("</script"); at != std::string::npos; at = page.find("</script", at + 1)) {
        ++closings;
    }
    EXPECT_EQ(closings, 3u);
    EXPECT_EQ(page.find("<style>", page.find("<style>") + 1), std::string::npos);
    EXPECT_NE(page.find(R"("\u003c/script\u003e\u003cscript\u003ealert(1)\u003c/script\u003e")"), std::string::npos);
}

} // namespace
} // namespace tw
