#include "cli/open_container.h"

#include "cli/cli_output.h"
#include "platform/platform.h"

namespace tw::cli {

bool OpenContainer(BentoContainer& container, const std::wstring& path, const std::wstring& command) {
    if (container.Open(path) == 0) {
        // A file that could not be opened at all has been explained by the file reader already.
        if (platform::PathExists(path)) {
            WriteLine(stderr, L"tarnwick-cli " + command + L": not a container: " + path);
        }
        return false;
    }
    return container.IsValid(); // a refused version is explained on stderr
}

} // namespace tw::cli
