// The console of the fuzz targets: it takes the lines and keeps none, since the harnesses look for faults,
// not at the text.
#pragma once

#include "seams/console.h"

namespace tw::fuzz {

class DiscardConsole : public tw::Console {
public:
    void AppendLine(const std::wstring&) override {}
};

} // namespace tw::fuzz
