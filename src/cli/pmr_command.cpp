// tarnwick-cli pmr FILE: every record of a media file index, tab-separated.
#include "catalog/pmr_file.h"
#include "cli/commands.h"
#include "cli/table_writer.h"

#include <memory>

namespace tw::cli {

int PmrCommand(const CommandLine& line) {
    const Args& args = line.operands;
    const OutputFormat format = line.format;
    StderrConsole console;
    PMRFile reader(&console);
    if (reader.OpenIndex(args[0]) != 1) {
        return kExitFailed;
    }
    TableWriter table(stdout, format, {{L"fileMobId"}, {L"compUid"}, {L"project"}, {L"name"}});
    MediaRecord record;
    while (reader.ReadNextRecord(&record, nullptr) == 1) {
        table.Row({Hex16(record.fileMobId), Hex16(record.compUid), record.projectName.value_or(L""),
                   record.fileName.value_or(L"")});
    }
    table.End();
    reader.Close();
    return kExitOk;
}

} // namespace tw::cli
