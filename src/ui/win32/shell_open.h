// Opening a file with the program the shell associates with it, as a double click on a file row does.
#pragma once

#include "seams/console.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace tw {

// The context of the console line of a failed open.
inline constexpr wchar_t kOpenErrorContext[] = L"QRB::Open(ShellExecute)";

// The system error code for a result of ShellExecuteW at or below 32. Its own codes (SE_ERR_...) partly share
// their numbers with system codes of another meaning (31, "no association", is ERROR_GEN_FAILURE); those are
// given the system code of the same meaning, so that the system's text for it is the right one.
[[nodiscard]] uint32_t ShellExecuteErrorCode(INT_PTR result);

// Opens path with its program (ShellExecuteW: default verb, no parameters, no working folder, shown as the
// program's default) on behalf of owner. A failure writes "QRB::Open(ShellExecute) : error %d: %s" with the
// code and the system's text to console (null: nowhere). True when the shell started the open.
bool OpenWithShell(HWND owner, const std::wstring& path, Console* console);

} // namespace tw
