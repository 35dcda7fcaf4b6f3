// What the Media Info window shows, on the command line: tarnwick-cli info FILE [--depth N], the object tree
// with its references expanded N levels deep, and tarnwick-cli dump FILE ENTRY, the hex dump of one entry.
#include "cli/commands.h"
#include "cli/open_container.h"
#include "container/media_info_items.h"
#include "container/toc_dump.h"

#include <cwctype>

namespace tw::cli {

namespace {

constexpr uint32_t kDefaultDepth = 1;

// A decimal number of at most nine digits; false for anything else.
bool ParseCount(const std::wstring& text, uint32_t& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    uint32_t v = 0;
    for (const wchar_t c : text) {
        if (!std::iswdigit(c)) {
            return false;
        }
        v = v * 10 + static_cast<uint32_t>(c - L'0');
    }
    value = v;
    return true;
}

} // namespace

int InfoCommand(const CommandLine& line) {
    const std::wstring& file = line.operands[0];
    uint32_t depth = kDefaultDepth;
    if (line.Has(L"--depth") && !ParseCount(line.Value(L"--depth"), depth)) {
        WriteLine(stderr,
                  L"tarnwick-cli info: --depth takes a number of levels, not \"" + line.Value(L"--depth") + L"\"");
        return kExitUsage;
    }
    StderrConsole errors;
    BentoContainer container(&errors);
    if (!OpenContainer(container, file, L"info")) {
        return kExitFailed;
    }
    const TreeWalkBounds bounds;
    std::wstring text;
    const TreeWalkEnd end = WalkObjectTree(container, bento::kTocObject, depth, [&text](const TreeLine& line) {
        text.assign(2 * line.level, L' ');
        if (line.bold) {
            text += L'*';
        }
        text += *line.text;
        WriteLine(stdout, text);
        return true;
    });
    // A tree cut at a bound says so after its last line, where a reader of the output looks.
    if (end == TreeWalkEnd::lineBound) {
        WriteLine(stderr, L"tarnwick-cli info: the tree stops after " + std::to_wstring(bounds.maxLines) +
                              L" lines; it goes on below (a smaller --depth shows less of it)");
    } else if (end == TreeWalkEnd::memoryBound) {
        WriteLine(stderr, L"tarnwick-cli info: the tree stops here: unfolding it further would take more than " +
                              std::to_wstring(bounds.maxHeldBytes >> 20) +
                              L" MB of memory (a smaller --depth shows less of it)");
    }
    return kExitOk;
}

int DumpCommand(const CommandLine& line) {
    const Args& args = line.operands;
    uint32_t number = 0;
    if (!ParseCount(args[1], number) || number == 0) {
        WriteLine(stderr, L"tarnwick-cli dump: ENTRY is a number from 1, not \"" + args[1] + L"\"");
        return kExitUsage;
    }
    StderrConsole errors;
    BentoContainer container(&errors);
    if (!OpenContainer(container, args[0], L"dump")) {
        return kExitFailed;
    }
    if (number > container.EntryCount()) {
        WriteLine(stderr, L"tarnwick-cli dump: no entry " + args[1] + L": the container has " +
                              std::to_wstring(container.EntryCount()) + L" entries");
        return kExitUsage;
    }
    StdoutConsole out;
    DumpTocEntry(container, number, &out);
    return kExitOk;
}

} // namespace tw::cli
