// tarnwick-cli pmr FILE: every record of a media file index, tab-separated.
#include "catalog/pmr_file.h"
#include "cli/commands.h"

#include <memory>

namespace tw::cli {

int PmrCommand(const Args& args) {
    if (args.size() != 1) {
        WriteLine(stderr, L"usage: tarnwick-cli pmr FILE");
        return kExitUsage;
    }
    StderrConsole console;
    PMRFile reader(&console);
    if (reader.OpenIndex(args[0]) != 1) {
        return kExitFailed;
    }
    WriteLine(stdout, L"fileMobId\tcompUid\tproject\tname");
    MediaRecord record;
    while (reader.ReadNextRecord(&record, nullptr) == 1) {
        WriteLine(stdout, Hex16(record.fileMobId) + L"\t" + Hex16(record.compUid) + L"\t" +
                              record.projectName.value_or(L"") + L"\t" + record.fileName.value_or(L""));
    }
    reader.Close();
    return kExitOk;
}

} // namespace tw::cli
