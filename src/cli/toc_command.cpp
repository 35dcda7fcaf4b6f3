// tarnwick-cli toc FILE: the TOC lines of a container on stdout.
#include "cli/commands.h"
#include "cli/open_container.h"
#include "container/toc_dump.h"

namespace tw::cli {

int TocCommand(const CommandLine& line) {
    const Args& args = line.operands;
    StderrConsole errors;
    BentoContainer container(&errors);
    if (!OpenContainer(container, args[0], L"toc")) {
        return kExitFailed;
    }
    StdoutConsole out;
    DumpToc(container, &out);
    return kExitOk;
}

} // namespace tw::cli
