#include "cli/arguments.h"

#include <algorithm>

namespace tw::cli {

namespace {

constexpr wchar_t kFormatName[] = L"--format";
constexpr OptionSpec kFormatOption{kFormatName, L"tsv|csv|json"};

// The choices of a value written as "a|b|c"; none for a value that is only named.
std::vector<std::wstring> ChoicesOf(const OptionSpec& option) {
    std::vector<std::wstring> choices;
    const std::wstring value = option.value != nullptr ? option.value : L"";
    if (value.find(L'|') == std::wstring::npos) {
        return choices;
    }
    size_t from = 0;
    for (;;) {
        const size_t bar = value.find(L'|', from);
        choices.push_back(value.substr(from, bar - from));
        if (bar == std::wstring::npos) {
            return choices;
        }
        from = bar + 1;
    }
}

bool ParseFormatValue(const std::wstring& text, OutputFormat& format) {
    if (text == L"tsv") {
        format = OutputFormat::tsv;
    } else if (text == L"csv") {
        format = OutputFormat::csv;
    } else if (text == L"json") {
        format = OutputFormat::json;
    } else {
        return false;
    }
    return true;
}

} // namespace

std::wstring CommandLine::Value(const std::wstring& name) const {
    const auto found = options.find(name);
    return found == options.end() || found->second.empty() ? std::wstring() : found->second.back();
}

std::vector<std::wstring> CommandLine::Values(const std::wstring& name) const {
    const auto found = options.find(name);
    return found == options.end() ? std::vector<std::wstring>() : found->second;
}

size_t EditDistance(const std::wstring& a, const std::wstring& b) {
    // Two letters typed the wrong way round count as one slip.
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

std::wstring NearestOf(const std::wstring& given, const std::vector<std::wstring>& candidates) {
    std::wstring best;
    size_t bestDistance = 0;
    for (const std::wstring& candidate : candidates) {
        const size_t distance = EditDistance(given, candidate);
        if (best.empty() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    // Near: a slip of two characters at most, and at most a third of the word (its leading dashes not counted).
    const auto letters = [](const std::wstring& word) { return word.size() - std::min(word.find_first_not_of(L'-'), word.size()); };
    const size_t length = std::max(letters(given), letters(best));
    return !best.empty() && bestDistance <= 2 && bestDistance * 3 <= length ? best : std::wstring();
}

ParseOutcome ParseCommandLine(const std::vector<OptionSpec>& declared, bool table, const Args& args,
                              CommandLine& line, std::wstring& error) {
    line = CommandLine{};
    error.clear();
    std::vector<OptionSpec> options = declared;
    if (table) {
        options.push_back(kFormatOption);
    }
    const auto find = [&options](const std::wstring& name) -> const OptionSpec* {
        for (const OptionSpec& option : options) {
            if (name == option.name || (option.shortName != nullptr && name == option.shortName)) {
                return &option;
            }
        }
        return nullptr;
    };
    bool help = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (line.separated || a == L"-" || a.empty() || a[0] != L'-') {
            line.operands.push_back(a);
            continue;
        }
        if (a == L"--") {
            line.separated = true;
            continue;
        }
        const size_t equals = a.rfind(L"--", 0) == 0 ? a.find(L'=') : std::wstring::npos;
        const std::wstring name = a.substr(0, equals);
        const OptionSpec* option = find(name);
        if (option == nullptr && (name == L"--help" || name == L"-h")) {
            help = true;
            continue;
        }
        if (option == nullptr) {
            std::vector<std::wstring> names{L"--help"};
            for (const OptionSpec& o : options) {
                names.push_back(o.name);
            }
            const std::wstring near = NearestOf(name, names);
            error = L"unknown option " + name + (near.empty() ? L"" : L"; did you mean " + near + L"?");
            return ParseOutcome::usage;
        }
        std::vector<std::wstring>& values = line.options[option->name];
        if (!values.empty() && !option->repeatable) {
            error = std::wstring(option->name) + L" is given twice";
            return ParseOutcome::usage;
        }
        if (option->value == nullptr) {
            if (equals != std::wstring::npos) {
                error = std::wstring(option->name) + L" takes no value";
                return ParseOutcome::usage;
            }
            values.emplace_back();
            continue;
        }
        if (option->trailing) {
            if (equals != std::wstring::npos) {
                values.push_back(a.substr(equals + 1));
            }
            // Up to "--" or another option of the command, long or short.
            const auto isOption = [&find](const std::wstring& next) {
                if (next.rfind(L"--", 0) == 0) {
                    return find(next.substr(0, next.find(L'='))) != nullptr;
                }
                return next.size() > 1 && next[0] == L'-' && find(next) != nullptr;
            };
            while (i + 1 < args.size() && args[i + 1] != L"--" && !isOption(args[i + 1])) {
                values.push_back(args[++i]);
            }
            continue;
        }
        std::wstring value;
        if (equals != std::wstring::npos) {
            value = a.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = std::wstring(option->name) + L" needs a value (" + option->value + L")";
            return ParseOutcome::usage;
        }
        const std::vector<std::wstring> choices = ChoicesOf(*option);
        if (!choices.empty() && std::find(choices.begin(), choices.end(), value) == choices.end()) {
            error = std::wstring(option->name) + L" takes " + option->value + L", not \"" + value + L"\"";
            return ParseOutcome::usage;
        }
        values.push_back(value);
    }
    if (help) {
        return ParseOutcome::help;
    }
    for (const OptionSpec& option : options) {
        if (option.required && !line.Has(option.name)) {
            return ParseOutcome::usage;
        }
    }
    if (table && line.Has(kFormatName)) {
        (void)ParseFormatValue(line.Value(kFormatName), line.format);
    }
    return ParseOutcome::ok;
}

std::wstring Synopsis(const wchar_t* name, const std::vector<OptionSpec>& declared, bool table,
                      const wchar_t* operands) {
    std::vector<OptionSpec> options = declared;
    if (table) {
        options.push_back(OptionSpec{kFormatName, L"F"});
    }
    std::wstring text = name;
    for (const OptionSpec& option : options) {
        std::wstring one = option.shortName != nullptr ? std::wstring(option.shortName) + L"|" + option.name
                                                       : std::wstring(option.name);
        if (option.value != nullptr) {
            one += std::wstring(L" ") + option.value + (option.trailing ? L"..." : L"");
        }
        text += L" " + (option.required ? one : L"[" + one + L"]") + (option.repeatable ? L"..." : L"");
    }
    if (operands != nullptr && *operands != L'\0') {
        text += L" ";
        text += operands;
    }
    return text;
}

} // namespace tw::cli
