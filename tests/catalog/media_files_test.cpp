#include "catalog/media_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw {
namespace {

TEST(MediaFilesTest, TheLastThreeCharactersNameTheExtension) {
    struct Case {
        std::wstring name;
        MediaExtension lowerOrUpper;
        MediaExtension any;
    };
    const std::vector<Case> cases = {
        {L"clip.omf", MediaExtension::omf, MediaExtension::omf},
        {L"CLIP.OMF", MediaExtension::omf, MediaExtension::omf},
        {L"clip.Omf", MediaExtension::none, MediaExtension::omf},
        {L"clip.oMF", MediaExtension::none, MediaExtension::omf},
        {L"a.aif", MediaExtension::aif, MediaExtension::aif},
        {L"a.WAV", MediaExtension::wav, MediaExtension::wav},
        {L"a.Mxf", MediaExtension::none, MediaExtension::mxf},
        {L"clipomf", MediaExtension::omf, MediaExtension::omf}, // no dot needed
        {L"mxf", MediaExtension::mxf, MediaExtension::mxf},
        {L"xf", MediaExtension::none, MediaExtension::none},
        {L"", MediaExtension::none, MediaExtension::none},
        {L"a.avb", MediaExtension::none, MediaExtension::none},
        {L"a.om", MediaExtension::none, MediaExtension::none},
        {L"a.\u00f6mf", MediaExtension::none, MediaExtension::none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
        EXPECT_EQ(LastThreeExtension(c.name, ExtensionCase::lowerOrUpper), c.lowerOrUpper);
        EXPECT_EQ(LastThreeExtension(c.name, ExtensionCase::any), c.any);
    }
    const char bytes[] = "WAV";
    EXPECT_EQ(MediaExtensionOf(bytes, ExtensionCase::lowerOrUpper), MediaExtension::wav);
}

} // namespace
} // namespace tw
