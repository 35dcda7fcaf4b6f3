// Opening a container for a command of tarnwick-cli, with the messages every such command gives.
#pragma once

#include "container/bento_container.h"

#include <string>

namespace tw::cli {

// Opens path in container. True when the container can answer; otherwise the reason is on stderr (the file
// reader's lines, "tarnwick-cli COMMAND: not a container: PATH", or "OMFI 2.0 not supported", as the
// container's console is stderr) and the command ends with status 2.
[[nodiscard]] bool OpenContainer(BentoContainer& container, const std::wstring& path, const std::wstring& command);

} // namespace tw::cli
