// tarnwick-cli bin FILE...: the media that bins reference, as the fileMobId values they stand for.
#include "catalog/media_catalog.h"
#include "cli/commands.h"
#include "cli/table_writer.h"
#include "discovery/bin_scan.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tw::cli {

int BinCommand(const CommandLine& line) {
    const Args& args = line.operands;
    const OutputFormat format = line.format;
    StderrConsole console;
    ReferencedIds referencedIds;
    bool allRead = true;
    for (const std::wstring& bin : args) {
        allRead = ReadBinReferences(bin, &console, referencedIds) && allRead;
    }
    // The pairs in ascending order of the fileMobId they make: by the high half, then the low half.
    std::vector<uint64_t> ids;
    ids.reserve(referencedIds.size());
    for (const auto& [first, second] : referencedIds) {
        ids.push_back(static_cast<uint64_t>(second) << 32 | first);
    }
    std::sort(ids.begin(), ids.end());
    TableWriter table(stdout, format, {{L"fileMobId"}});
    for (uint64_t id : ids) {
        table.Row({Hex16(id)});
    }
    table.End();
    return allRead ? kExitOk : kExitFailed;
}

} // namespace tw::cli
