// tarnwick-cli drives: every drive as the Hardware tool shows it, one tab-separated row per drive.
#include "cli/commands.h"
#include "cli/table_writer.h"
#include "platform/platform.h"
#include "ui/hardware_tool_model.h"

namespace tw::cli {

int DrivesCommand(const CommandLine& line) {
    const OutputFormat format = line.format;
    const std::vector<DriveInfo> drives = QueryDrives(platform::DriveStrings);
    if (drives.empty()) {
        WriteLine(stderr, L"tarnwick-cli drives: the system lists no drives");
        return kExitFailed;
    }
    TableWriter table(stdout, format,
                      {{L"Root"},
                       {L"Volume Label"},
                       {L"Type"},
                       {L"Total (bytes)", ColumnKind::count},
                       {L"Used (bytes)", ColumnKind::count},
                       {L"Free (bytes)", ColumnKind::count},
                       {L"Label"}});
    for (const DriveInfo& d : drives) {
        // A drive that does not answer has no label and no sizes.
        const auto size = [&](uint64_t bytes) { return d.ready ? std::to_wstring(bytes) : std::wstring(); };
        table.Row({d.root, d.volumeLabel, DriveTypeName(d.type), size(d.totalBytes), size(d.UsedBytes()),
                   size(d.freeBytes), DriveLabelText(d)});
    }
    table.End();
    return kExitOk;
}

} // namespace tw::cli
