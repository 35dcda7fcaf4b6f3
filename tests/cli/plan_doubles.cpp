#include "plan_doubles.h"

#include "operations/operation_scene.h"

namespace tw::testing_cli {

namespace {

void ListBelow(const std::wstring& root, const std::wstring& relative, std::map<std::wstring, std::string>& files) {
    const std::wstring folder = relative.empty() ? root : platform::JoinPath(root, relative);
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(folder, [&](const platform::FolderEntry& e) { entries.push_back(e); });
    for (const platform::FolderEntry& e : entries) {
        if (e.name == L"." || e.name == L"..") {
            continue;
        }
        const std::wstring below = relative.empty() ? e.name : relative + L"/" + e.name;
        if ((e.attributes & platform::kAttributeDirectory) != 0) {
            files[below + L"/"] = "<folder>";
            ListBelow(root, below, files);
        } else {
            files[below] = testing_ops::ReadBytes(platform::JoinPath(root, below));
        }
    }
}

} // namespace

std::map<std::wstring, std::string> Listing(const std::wstring& root) {
    std::map<std::wstring, std::string> files;
    ListBelow(root, L"", files);
    return files;
}

PlanScene::PlanScene() : src(dir / L"media"), dst(dir / L"archive"), out(std::tmpfile()) {
    fixtures::MakeFolders(src);
    fixtures::MakeFolders(dst);
    options.folder = dst;
}

PlanScene::~PlanScene() {
    if (out != nullptr) {
        std::fclose(out);
    }
}

void PlanScene::Add(const std::wstring& name, size_t size, const std::wstring& project) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 7 + name.size() * 13 + name[0]) & 0xFF);
    }
    fixtures::WriteFile(Source(name), bytes);
    content[name] = bytes;
    rows.push_back({rows.size() + 1, project, name, src, size, {}, {}});
}

void PlanScene::AddMissing(const std::wstring& name) {
    rows.push_back({rows.size() + 1, L"Harbour", name, L"", 0, {}, {}});
}

int PlanScene::Run(std::vector<cli::RowOutcome>* outcomes) {
    const cli::PlanServices services{files, terminal, presses, console, nullptr, out};
    return cli::RunPlan(options, rows, services, outcomes);
}

int PlanScene::DryRun(std::vector<cli::RowOutcome>* outcomes) {
    const cli::PlanServices services{files, terminal, presses, console, nullptr, out};
    return cli::DryRunPlan(options, rows, services, outcomes);
}

std::string PlanScene::Out() const {
    std::string text;
    if (out == nullptr) {
        return "<no output file>";
    }
    std::fflush(out);
    std::rewind(out);
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, out)) > 0) {
        text.append(buffer, got);
    }
    std::string lf;
    for (const char c : text) {
        if (c != '\r') {
            lf += c;
        }
    }
    return lf;
}

bool PlanScene::Logged(const std::wstring& text) const {
    for (const std::wstring& line : console.lines) {
        if (line == text) {
            return true;
        }
    }
    return false;
}

bool PlanScene::EveryFileWholeOnce() const {
    size_t atTarget = 0;
    for (const auto& [name, bytes] : content) {
        const std::string source = testing_ops::ReadBytes(Source(name));
        const std::string target = testing_ops::ReadBytes(Target(name));
        const bool atSource = source == bytes;
        const bool there = target == bytes;
        atTarget += there ? 1 : 0;
        if (atSource == there || (!atSource && source != "<missing>") || (!there && target != "<missing>")) {
            return false;
        }
    }
    return Listing(dst).size() == atTarget;
}

} // namespace tw::testing_cli
