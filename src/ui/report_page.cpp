#include "ui/report_page.h"

#include "platform/platform.h"
#include "report_assets.h"
#include "ui/load_table.h"

#include <array>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace tw {

namespace {

// Strings that many rows share (projects, folders, compressions, types, sources) are written once, in a table, and
// each row names them by their place in it.
class TextTable {
public:
    uint32_t Place(const std::wstring& text) {
        const auto found = places.find(text);
        if (found != places.end()) {
            return found->second;
        }
        const auto place = static_cast<uint32_t>(texts.size());
        places.emplace(text, place);
        texts.push_back(text);
        return place;
    }
    void Write(std::string& out) const {
        out += '[';
        for (size_t i = 0; i < texts.size(); ++i) {
            if (i != 0) {
                out += ',';
            }
            AppendJsonString(texts[i], out);
        }
        out += ']';
    }

private:
    std::unordered_map<std::wstring, uint32_t> places;
    std::vector<std::wstring> texts;
};

void AppendNumber(uint64_t value, std::string& out) {
    char digits[24];
    size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n != 0) {
        out += digits[--n];
    }
}

// A JSON array of numbers.
template <typename T> void AppendNumbers(const std::vector<T>& values, std::string& out) {
    out += '[';
    for (size_t i = 0; i < values.size(); ++i) {
        if (i != 0) {
            out += ',';
        }
        AppendNumber(static_cast<uint64_t>(values[i]), out);
    }
    out += ']';
}

// A column of indexes into a table: as runs of equal values ({"runs":[value,count,...]}) when the runs are fewer than
// half the rows, as they are where rows of one project or folder follow each other; as a plain array otherwise.
void AppendIndexes(const std::vector<uint32_t>& values, std::string& out) {
    size_t runs = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        runs += i == 0 || values[i] != values[i - 1] ? 1 : 0;
    }
    if (runs * 2 >= values.size()) {
        AppendNumbers(values, out);
        return;
    }
    out += "{\"runs\":[";
    for (size_t i = 0; i < values.size();) {
        size_t end = i + 1;
        while (end < values.size() && values[end] == values[i]) {
            ++end;
        }
        if (i != 0) {
            out += ',';
        }
        AppendNumber(values[i], out);
        out += ',';
        AppendNumber(end - i, out);
        i = end;
    }
    out += "]}";
}

void AppendStrings(const std::vector<std::wstring>& values, std::string& out) {
    out += '[';
    for (size_t i = 0; i < values.size(); ++i) {
        if (i != 0) {
            out += ',';
        }
        AppendJsonString(values[i], out);
    }
    out += ']';
}

// The columns of the load table, in its order (kLoadTableColumns).
enum Column : size_t { kProject, kName, kNameInBin, kSize, kCompUid, kCompression, kPath, kType, kDate, kSource };

// The state a file is drawn in: the first of missing, duplicate, unreferenced, unused and used that it holds, or 5.
size_t DrawnState(uint32_t states) {
    static constexpr uint32_t kOrder[] = {kStateMissing, kStateDuplicate, kStateUnreferenced, kStateUnused, kStateUsed};
    for (size_t k = 0; k < 5; ++k) {
        if ((states & kOrder[k]) != 0) {
            return k;
        }
    }
    return 5;
}

// Per project of each database: [database, project, files, bytes, the files and the bytes with each state bit
// (missing, unreferenced, unused, used, duplicate), the bytes by drawn state (missing, duplicate, unreferenced,
// unused, used, none)], in the order the files come.
void AppendGroups(const ReportInput& input, std::string& out) {
    struct Group {
        uint32_t database = 0;
        std::wstring_view project;
        uint64_t files = 0;
        uint64_t bytes = 0;
        uint64_t stateFiles[5] = {};
        uint64_t stateBytes[5] = {};
        uint64_t drawnBytes[6] = {};
    };
    std::vector<Group> groups;
    std::unordered_map<std::wstring_view, std::vector<size_t>> byProject;
    for (const ReportFile& file : input.files) {
        const std::wstring_view project = file.record->projectName.view();
        std::vector<size_t>& places = byProject[project];
        size_t place = groups.size();
        for (size_t candidate : places) {
            if (groups[candidate].database == file.database) {
                place = candidate;
            }
        }
        if (place == groups.size()) {
            places.push_back(place);
            groups.emplace_back();
            groups.back().database = file.database;
            groups.back().project = project;
        }
        Group& g = groups[place];
        const uint64_t size = file.record->size;
        ++g.files;
        g.bytes += size;
        for (size_t bit = 0; bit < 5; ++bit) {
            if ((file.states & (1u << bit)) != 0) {
                ++g.stateFiles[bit];
                g.stateBytes[bit] += size;
            }
        }
        g.drawnBytes[DrawnState(file.states)] += size;
    }
    out += '[';
    for (size_t i = 0; i < groups.size(); ++i) {
        const Group& g = groups[i];
        out += i != 0 ? ",[" : "[";
        AppendNumber(g.database, out);
        out += ',';
        AppendJsonString(g.project, out);
        for (const uint64_t value : {g.files, g.bytes}) {
            out += ',';
            AppendNumber(value, out);
        }
        for (const uint64_t* values : {g.stateFiles, g.stateBytes}) {
            for (size_t k = 0; k < 5; ++k) {
                out += ',';
                AppendNumber(values[k], out);
            }
        }
        for (const uint64_t value : g.drawnBytes) {
            out += ',';
            AppendNumber(value, out);
        }
        out += ']';
    }
    out += ']';
}

// What the page shows first, before the rows: the summary, the drives and databases, and the files and bytes of
// each project of each database, by state.
std::string SummaryData(const ReportInput& input) {
    std::string out;
    out += "{\"made\":";
    AppendJsonString(input.madeAt, out);
    out += ",\"version\":";
    AppendJsonString(input.version, out);
    out += ",\"binsGiven\":";
    out += input.binsGiven ? "true" : "false";
    out += ",\"missing\":";
    out += input.includeMissing ? "true" : "false";
    out += ",\"bins\":";
    AppendStrings(input.bins, out);
    out += ",\"columns\":";
    AppendStrings(LoadTableColumnNames(), out);

    out += ",\"drives\":[";
    for (size_t i = 0; i < input.drives.size(); ++i) {
        const DriveInfo& d = input.drives[i];
        out += i != 0 ? ",[" : "[";
        AppendJsonString(d.root, out);
        out += ',';
        AppendJsonString(d.volumeLabel, out);
        out += ',';
        AppendJsonString(DriveTypeName(d.type), out);
        out += d.ready ? ",true," : ",false,";
        AppendNumber(d.totalBytes, out);
        out += ',';
        AppendNumber(d.UsedBytes(), out);
        out += ',';
        AppendNumber(d.freeBytes, out);
        out += ']';
    }
    out += "],\"databases\":[";
    for (size_t i = 0; i < input.databases.size(); ++i) {
        const ReportDatabase& db = input.databases[i];
        out += i != 0 ? ",[" : "[";
        AppendJsonString(db.indexPath, out);
        out += ',';
        AppendJsonString(db.folder, out);
        out += db.opened ? ",true" : ",false";
        out += db.damaged ? ",true," : ",false,";
        AppendNumber(db.entries, out);
        out += ',';
        out += db.drive < 0 ? std::string("-1") : std::to_string(db.drive);
        out += ']';
    }
    out += "],\"groups\":";
    AppendGroups(input, out);
    out += '}';
    return out;
}

// The rows, column by column: a column of numbers or of texts each.
std::string RowsData(const ReportInput& input) {
    std::string out;
    out.reserve(input.files.size() * 64 + 4096);
    TextTable projects, compressions, paths, types, sources, dates;
    const size_t n = input.files.size();
    std::vector<uint32_t> project(n), compression(n), path(n), type(n), source(n), date(n), database(n), states(n),
        group(n);
    std::vector<uint64_t> size(n);
    std::string name, nameInBin, compUid;
    name += '[';
    nameInBin += '[';
    compUid += '[';
    std::vector<std::wstring> cells;
    for (size_t i = 0; i < n; ++i) {
        const ReportFile& file = input.files[i];
        LoadTableCells(*file.record, cells);
        project[i] = projects.Place(cells[kProject]);
        compression[i] = compressions.Place(cells[kCompression]);
        path[i] = paths.Place(cells[kPath]);
        type[i] = types.Place(cells[kType]);
        source[i] = sources.Place(cells[kSource]);
        // Files made in one second share their date's text.
        date[i] = dates.Place(cells[kDate]);
        size[i] = file.record->size;
        database[i] = file.database;
        states[i] = file.states;
        group[i] = file.duplicateGroup;
        if (i != 0) {
            name += ',';
            nameInBin += ',';
            compUid += ',';
        }
        AppendJsonString(cells[kName], name);
        AppendJsonString(cells[kNameInBin], nameInBin);
        AppendJsonString(cells[kCompUid], compUid);
    }
    name += ']';
    nameInBin += ']';
    compUid += ']';
    out += "{\"tables\":{\"project\":";
    projects.Write(out);
    out += ",\"compression\":";
    compressions.Write(out);
    out += ",\"path\":";
    paths.Write(out);
    out += ",\"type\":";
    types.Write(out);
    out += ",\"source\":";
    sources.Write(out);
    out += ",\"date\":";
    dates.Write(out);
    out += "},\"rows\":{\"project\":";
    AppendIndexes(project, out);
    out += ",\"name\":";
    out += name;
    out += ",\"nameInBin\":";
    out += nameInBin;
    out += ",\"size\":";
    AppendNumbers(size, out);
    out += ",\"compUid\":";
    out += compUid;
    out += ",\"compression\":";
    AppendIndexes(compression, out);
    out += ",\"path\":";
    AppendIndexes(path, out);
    out += ",\"type\":";
    AppendIndexes(type, out);
    out += ",\"date\":";
    AppendIndexes(date, out);
    out += ",\"source\":";
    AppendIndexes(source, out);
    out += ",\"database\":";
    AppendIndexes(database, out);
    out += ",\"state\":";
    AppendIndexes(states, out);
    out += ",\"group\":";
    AppendIndexes(group, out);
    out += "}}";
    return out;
}

void Replace(std::string& text, const std::string& marker, const std::string& with) {
    const size_t at = text.find(marker);
    if (at != std::string::npos) {
        text.replace(at, marker.size(), with);
    }
}

} // namespace

void AppendJsonString(std::wstring_view text, std::string& out) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    size_t runStart = 0;
    const auto flush = [&](size_t end) {
        if (end > runStart) {
            platform::AppendAsUtf8(text.substr(runStart, end - runStart), out);
        }
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint32_t>(text[i]);
        const bool plain = c >= 0x20 && c != '"' && c != '\\' && c != '<' && c != '>' && c != '&' && c != 0x7F &&
                           c != 0x2028 && c != 0x2029;
        if (plain) {
            continue;
        }
        flush(i);
        runStart = i + 1;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            out += "\\u";
            out += kHex[(c >> 12) & 0xF];
            out += kHex[(c >> 8) & 0xF];
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        }
    }
    flush(text.size());
    out += '"';
}

std::string Sha256Base64(const std::string& bytes) {
    static constexpr std::array<uint32_t, 64> k = {
        0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
        0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
        0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
        0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
        0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
        0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
        0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
        0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
    std::array<uint32_t, 8> h = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::string message = bytes;
    const uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
    message += static_cast<char>(0x80);
    while (message.size() % 64 != 56) {
        message += '\0';
    }
    for (int shift = 56; shift >= 0; shift -= 8) {
        message += static_cast<char>((bits >> shift) & 0xFF);
    }
    const auto rotr = [](uint32_t x, int n) { return (x >> n) | (x << (32 - n)); };
    for (size_t block = 0; block < message.size(); block += 64) {
        uint32_t w[64];
        for (size_t i = 0; i < 16; ++i) {
            const auto byte = [&](size_t j) { return static_cast<uint32_t>(static_cast<uint8_t>(message[block + j])); };
            w[i] = byte(i * 4) << 24 | byte(i * 4 + 1) << 16 | byte(i * 4 + 2) << 8 | byte(i * 4 + 3);
        }
        for (size_t i = 16; i < 64; ++i) {
            const uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::array<uint32_t, 8> v = h;
        for (size_t i = 0; i < 64; ++i) {
            const uint32_t s1 = rotr(v[4], 6) ^ rotr(v[4], 11) ^ rotr(v[4], 25);
            const uint32_t ch = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const uint32_t t1 = v[7] + s1 + ch + k[i] + w[i];
            const uint32_t s0 = rotr(v[0], 2) ^ rotr(v[0], 13) ^ rotr(v[0], 22);
            const uint32_t maj = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            const uint32_t t2 = s0 + maj;
            v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
        }
        for (size_t i = 0; i < 8; ++i) {
            h[i] += v[i];
        }
    }
    uint8_t digest[32];
    for (size_t i = 0; i < 8; ++i) {
        for (size_t j = 0; j < 4; ++j) {
            digest[i * 4 + j] = static_cast<uint8_t>(h[i] >> (24 - 8 * j));
        }
    }
    static constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < 32; i += 3) {
        const uint32_t triple = static_cast<uint32_t>(digest[i]) << 16 |
                                (i + 1 < 32 ? static_cast<uint32_t>(digest[i + 1]) << 8 : 0) |
                                (i + 2 < 32 ? static_cast<uint32_t>(digest[i + 2]) : 0);
        out += kBase64[(triple >> 18) & 63];
        out += kBase64[(triple >> 12) & 63];
        out += i + 1 < 32 ? kBase64[(triple >> 6) & 63] : '=';
        out += i + 2 < 32 ? kBase64[triple & 63] : '=';
    }
    return out;
}

int DriveOfPath(const std::vector<DriveInfo>& drives, const std::wstring& path) {
    int best = -1;
    size_t bestLength = 0;
    for (size_t i = 0; i < drives.size(); ++i) {
        const std::wstring& root = drives[i].root;
        if (root.empty() || root.size() > path.size() || root.size() < bestLength ||
            !platform::EqualIgnoringCase(path.substr(0, root.size()), root)) {
            continue;
        }
        const wchar_t last = root.back();
        const bool atBoundary = last == L'/' || last == L'\\' || path.size() == root.size() ||
                                path[root.size()] == L'/' || path[root.size()] == L'\\';
        if (atBoundary) {
            best = static_cast<int>(i);
            bestLength = root.size();
        }
    }
    return best;
}

std::string ReportPage(const ReportInput& input) {
    const std::string script = kReportScript;
    const std::string style = kReportStyle;
    std::string page = kReportSkeleton;
    Replace(page, "@SCRIPT_HASH@", "sha256-" + Sha256Base64(script));
    Replace(page, "@STYLE_HASH@", "sha256-" + Sha256Base64(style));
    Replace(page, "@STYLE@", style);
    // The data and the script go in last, in the order of their markers, so that no marker is looked for inside
    // them.
    const std::string summary = SummaryData(input);
    const std::string rows = RowsData(input);
    const std::pair<const char*, const std::string*> parts[] = {
        {"@SUMMARY@", &summary}, {"@SCRIPT@", &script}, {"@DATA@", &rows}};
    std::string whole;
    whole.reserve(page.size() + summary.size() + script.size() + rows.size());
    size_t from = 0;
    for (const auto& [marker, text] : parts) {
        const size_t at = page.find(marker, from);
        whole.append(page, from, at - from);
        whole += *text;
        from = at + std::string(marker).size();
    }
    whole.append(page, from, std::string::npos);
    return whole;
}

} // namespace tw
