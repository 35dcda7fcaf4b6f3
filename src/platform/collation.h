// The portable half of the platform's text order: what CompareTextIgnoringCase does on systems whose own
// collation differs from the Windows one. Built on every system, so that tests on Windows can hold it
// against the platform's own order.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw::platform {

// Below 0, 0 or above 0 as a sorts before, with or after b (CompareStringW with NORM_IGNORECASE).
[[nodiscard]] int CollateIgnoringCase(std::wstring_view a, std::wstring_view b);

} // namespace tw::platform
