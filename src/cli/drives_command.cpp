// tarnwick-cli drives: every drive as the Hardware tool shows it, one tab-separated row per drive.
#include "cli/commands.h"
#include "platform/platform.h"
#include "ui/hardware_tool_model.h"

namespace tw::cli {

int DrivesCommand(const Args& args) {
    if (!args.empty()) {
        WriteLine(stderr, L"usage: tarnwick-cli drives");
        return kExitUsage;
    }
    const std::vector<DriveInfo> drives = QueryDrives(platform::DriveStrings);
    if (drives.empty()) {
        WriteLine(stderr, L"tarnwick-cli drives: the system lists no drives");
        return kExitFailed;
    }
    WriteLine(stdout, L"Root\tVolume Label\tType\tTotal (bytes)\tUsed (bytes)\tFree (bytes)\tLabel");
    for (const DriveInfo& d : drives) {
        // A drive that does not answer has no label and no sizes.
        const auto size = [&](uint64_t bytes) { return d.ready ? std::to_wstring(bytes) : std::wstring(); };
        WriteLine(stdout, d.root + L"\t" + d.volumeLabel + L"\t" + DriveTypeName(d.type) + L"\t" + size(d.totalBytes) +
                              L"\t" + size(d.UsedBytes()) + L"\t" + size(d.freeBytes) + L"\t" + DriveLabelText(d));
    }
    return kExitOk;
}

} // namespace tw::cli
