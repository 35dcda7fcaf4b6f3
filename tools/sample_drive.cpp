// tarnwick-sample-drive: writes a realistic media drive for demonstrations, tests and benchmarks (the layout
// is described in samples/sample_drive.h). The index path of each database is printed on stdout, one
// per line.
#include "samples/sample_drive.h"
#include "platform/text.h"
#include "platform/wide_main.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Run(const std::vector<std::wstring>& args) {
    std::wstring out;
    size_t entries = 240;
    uint32_t seed = 1;
    size_t payload = 16384;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a == L"--entries" && i + 1 < args.size()) {
            entries = std::wcstoul(args[++i].c_str(), nullptr, 10);
        } else if (a == L"--seed" && i + 1 < args.size()) {
            seed = static_cast<uint32_t>(std::wcstoul(args[++i].c_str(), nullptr, 10));
        } else if (a == L"--payload" && i + 1 < args.size()) {
            payload = std::wcstoul(args[++i].c_str(), nullptr, 10);
        } else if (!a.empty() && a[0] != L'-' && out.empty()) {
            out = a;
        } else {
            out.clear();
            break;
        }
    }
    if (out.empty()) {
        std::fputs("usage: tarnwick-sample-drive OUT [--entries N] [--seed N] [--payload MAX_BYTES]\n"
                   "Writes four databases of about N media files in all (default 240), each file with up to\n"
                   "MAX_BYTES bytes of media (default 16384), and two bins.\n",
                   stderr);
        return 1;
    }
    std::vector<std::wstring> indexes;
    const bool ok = tw::samples::WriteSampleDrive(out, entries, seed, payload, indexes);
    for (const std::wstring& index : indexes) {
        std::printf("%s\n", tw::platform::WideToUtf8(index).c_str());
    }
    if (!ok) {
        std::fprintf(stderr, "tarnwick-sample-drive: some files could not be written below %s\n",
                     tw::platform::WideToUtf8(out).c_str());
        return 2;
    }
    return 0;
}

} // namespace

int WideMain(const std::vector<std::wstring>& args) {
    return Run(args);
}
