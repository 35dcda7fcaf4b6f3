// The program's banner: the main window's caption and the console's first line.
#pragma once

#include <string>

namespace tw {

// "Tarnwick for AVID applications (build: " + the compiler's build date ("Jun 23 2007") + " )".
[[nodiscard]] std::wstring ProgramBanner();

// The console's second line under the banner: 28 minus signs.
inline constexpr wchar_t kConsoleRule[] = L"----------------------------";

} // namespace tw
