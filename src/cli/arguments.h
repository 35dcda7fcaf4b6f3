// Command lines of tarnwick-cli, parsed one way for every command: each option is declared once in the command
// table and taken as "--name VALUE" or "--name=VALUE"; "--" ends the options; an option the command does not take
// is refused with the nearest one it does take.
#pragma once

#include "cli/cli_output.h"
#include "cli/table_writer.h"

#include <map>
#include <string>
#include <vector>

namespace tw::cli {

struct OptionSpec {
    const wchar_t* name;             // "--to"
    const wchar_t* value = nullptr;  // what the value is called ("DIR"), or the choices ("ask|all|skip"); null: a
                                     // switch that takes no value
    bool required = false;           // the command does not run without it
    bool repeatable = false;         // may be given more than once; each value is kept
    bool trailing = false;           // takes every argument after it up to "--" as its values
    const wchar_t* shortName = nullptr; // "-h"
};

// A command's arguments once parsed.
struct CommandLine {
    std::map<std::wstring, std::vector<std::wstring>> options; // by option name; a switch has one empty value a use
    std::vector<std::wstring> operands;
    bool separated = false; // "--" was given
    OutputFormat format = OutputFormat::tsv;

    [[nodiscard]] bool Has(const std::wstring& name) const { return options.count(name) != 0; }
    // The last value given; empty when the option was not given.
    [[nodiscard]] std::wstring Value(const std::wstring& name) const;
    [[nodiscard]] std::vector<std::wstring> Values(const std::wstring& name) const;
};

enum class ParseOutcome {
    ok,
    help, // --help (or -h where the command gives it no meaning of its own)
    usage // error holds what is wrong, or is empty when the usage line says it all
};

// Parses args against the command's options; a table command also takes "--format tsv|csv|json".
[[nodiscard]] ParseOutcome ParseCommandLine(const std::vector<OptionSpec>& options, bool table, const Args& args,
                                            CommandLine& line, std::wstring& error);

// "copy --to DIR [--dry-run] ... PLAN": the command's name, its options as ParseCommandLine takes them, then what
// its operands are called.
[[nodiscard]] std::wstring Synopsis(const wchar_t* name, const std::vector<OptionSpec>& options, bool table,
                                    const wchar_t* operands);

// The number of single-character insertions, deletions and substitutions that turn a into b.
[[nodiscard]] size_t EditDistance(const std::wstring& a, const std::wstring& b);
// The candidate nearest to given, when it is near enough to be what was meant; empty otherwise.
[[nodiscard]] std::wstring NearestOf(const std::wstring& given, const std::vector<std::wstring>& candidates);

} // namespace tw::cli
