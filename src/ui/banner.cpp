#include "ui/banner.h"

namespace tw {

std::wstring ProgramBanner() {
    const char* date = __DATE__;
    return L"Tarnwick for AVID applications (build: " + std::wstring(date, date + sizeof __DATE__ - 1) + L" )";
}

} // namespace tw
