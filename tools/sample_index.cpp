// tarnwick-sample-index: writes a realistic msmFMID.pmr for demonstrations and benchmarks.
#include "platform/text.h"
#include "platform/wide_main.h"
#include "samples/sample_entries.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int Run(const std::vector<std::wstring>& args) {
    std::wstring out;
    size_t count = 200;
    uint32_t seed = 1;
    bool bigEndian = false;
    uint32_t guidLength = 2;
    bool damaged = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a == L"--entries" && i + 1 < args.size()) {
            count = std::wcstoul(args[++i].c_str(), nullptr, 10);
        } else if (a == L"--seed" && i + 1 < args.size()) {
            seed = static_cast<uint32_t>(std::wcstoul(args[++i].c_str(), nullptr, 10));
        } else if (a == L"--big-endian") {
            bigEndian = true;
        } else if (a == L"--guid8") {
            guidLength = 8;
        } else if (a == L"--damaged") {
            damaged = true;
        } else if (!a.empty() && a[0] != L'-' && out.empty()) {
            out = a;
        } else {
            out.clear();
            break;
        }
    }
    if (out.empty()) {
        std::fputs("usage: tarnwick-sample-index OUT [--entries N] [--seed N] [--big-endian] [--guid8] [--damaged]\n",
                   stderr);
        return 1;
    }
    tw::samples::PmrWriter writer(bigEndian, guidLength);
    size_t i = 0;
    for (const auto& entry : tw::samples::MakeSampleEntries(count, seed)) {
        if (damaged && i++ == count / 2) {
            // A damaged stretch: a zero name length and some noise before the next entry.
            writer.Raw({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x13, 0x37, 0xFF});
        }
        writer.Entry(entry);
    }
    if (!writer.Save(out)) {
        std::fprintf(stderr, "tarnwick-sample-index: cannot write %s\n", tw::platform::WideToUtf8(out).c_str());
        return 2;
    }
    return 0;
}

} // namespace

int WideMain(const std::vector<std::wstring>& args) {
    return Run(args);
}
