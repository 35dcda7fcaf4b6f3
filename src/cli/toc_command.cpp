// tarnwick-cli toc FILE: the TOC lines of a container on stdout.
#include "cli/commands.h"
#include "container/toc_dump.h"
#include "platform/platform.h"

namespace tw::cli {

int TocCommand(const Args& args) {
    if (args.size() != 1) {
        WriteLine(stderr, L"usage: tarnwick-cli toc FILE");
        return kExitUsage;
    }
    StderrConsole errors;
    BentoContainer container(&errors);
    if (container.Open(args[0]) == 0) {
        // A file that could not be opened at all has been explained by the file reader already.
        if (platform::PathExists(args[0])) {
            WriteLine(stderr, L"tarnwick-cli toc: not a container: " + args[0]);
        }
        return kExitFailed;
    }
    if (!container.IsValid()) {
        return kExitFailed; // the refusal is on stderr
    }
    StdoutConsole out;
    DumpToc(container, &out);
    return kExitOk;
}

} // namespace tw::cli
