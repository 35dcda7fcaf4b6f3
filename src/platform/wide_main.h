// The entry point of a command-line program that takes its arguments as wide text: the program defines
// WideMain, and includes this header in exactly one of its files. On Windows the arguments arrive as
// UTF-16 (wmain, linked with -municode); elsewhere they are read as UTF-8.
#pragma once

#include "platform/text.h"

#include <string>
#include <vector>

int WideMain(const std::vector<std::wstring>& args);

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return WideMain(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) {
        args.push_back(tw::platform::Utf8ToWide(argv[i]));
    }
    return WideMain(args);
}
#endif
