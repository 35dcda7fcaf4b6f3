// The application manifest that the program (and this test program, which links the same resources) carries,
// and what the system made of it when it started the process: themed common controls, per-monitor awareness
// of the display's resolution, long paths, and the ANSI code page left as the system has it.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tw::gui {
namespace {

std::string ManifestText() {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(self, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    if (found == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(self, found)));
    return bytes != nullptr ? std::string(bytes, SizeofResource(self, found)) : std::string();
}

TEST(ManifestGuiTest, TheManifestAsksForThemesScalingLongPathsAndTheSupportedSystems) {
    const std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty());
    for (const char* part : {
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
             ">PerMonitorV2, PerMonitor</dpiAwareness>",
             "<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true</longPathAware>",
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10 and 11
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
         }) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}

TEST(ManifestGuiTest, TheSystemStartedTheProcessWithThemedControlsAndAwareOfEveryDisplay) {
    // The process's activation context, made from the manifest, sends the common controls library to the
    // assembly of version 6 (on Windows a library of its own; Wine serves both versions from one).
    ACTCTX_SECTION_KEYED_DATA found{};
    found.cbSize = sizeof found;
    ASSERT_TRUE(FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                         ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &found));
    std::vector<char> buffer(4096);
    SIZE_T needed = 0;
    DWORD index = found.ulAssemblyRosterIndex;
    ASSERT_TRUE(QueryActCtxW(0, found.hActCtx, &index, AssemblyDetailedInformationInActivationContext, buffer.data(),
                             buffer.size(), &needed));
    const auto* assembly = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
    ASSERT_NE(assembly->lpAssemblyEncodedAssemblyIdentity, nullptr);
    const std::wstring identity = assembly->lpAssemblyEncodedAssemblyIdentity;
    EXPECT_NE(identity.find(L"Microsoft.Windows.Common-Controls"), std::wstring::npos)
        << std::string(identity.begin(), identity.end());
    EXPECT_NE(identity.find(L"version=\"6.0."), std::wstring::npos) << std::string(identity.begin(), identity.end());
    ReleaseActCtx(found.hActCtx);

    // The process is aware of the display's resolution: the system does not stretch its windows.
    HMODULE user = GetModuleHandleW(L"user32.dll");
    using AwarenessContextOf = HANDLE(WINAPI*)();
    using AwarenessOf = int(WINAPI*)(HANDLE);
    auto context = reinterpret_cast<AwarenessContextOf>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetThreadDpiAwarenessContext")));
    auto awareness = reinterpret_cast<AwarenessOf>(
        reinterpret_cast<void*>(GetProcAddress(user, "GetAwarenessFromDpiAwarenessContext")));
    ASSERT_NE(context, nullptr);
    ASSERT_NE(awareness, nullptr);
    const int perMonitorAware = 2; // DPI_AWARENESS_PER_MONITOR_AWARE
    EXPECT_EQ(awareness(context()), perMonitorAware);
}

} // namespace
} // namespace tw::gui
