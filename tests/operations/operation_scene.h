// A scratch folder with a source folder of media files, the records the file list would show for them, a target
// folder, and every seam of a run answered by a test double.
#pragma once

#include "fixtures/file_io.h"
#include "fixtures/scripted_prompts.h"
#include "operation_doubles.h"
#include "operations/file_operations.h"
#include "platform/platform.h"
#include "seams/console.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tw::testing_ops {

// The system's codes that the tests name.
#ifdef _WIN32
inline constexpr uint32_t kAccessDenied = 5;   // ERROR_ACCESS_DENIED
inline constexpr uint32_t kDiskFull = 112;     // ERROR_DISK_FULL
inline constexpr uint32_t kDeviceError = 1117; // ERROR_IO_DEVICE
#else
inline constexpr uint32_t kAccessDenied = 13; // EACCES
inline constexpr uint32_t kDiskFull = 28;     // ENOSPC
inline constexpr uint32_t kDeviceError = 5;   // EIO
#endif
inline constexpr uint32_t kFileNotFound = 2;

// The console line LogSystemError writes for code under tag.
inline std::wstring ErrorLine(const std::wstring& tag, uint32_t code) {
    LineConsole console;
    console.LogSystemError(code, tag);
    return console.lines.empty() ? std::wstring() : console.lines.front();
}

inline std::wstring Sep() {
    return std::wstring(1, platform::kPathSeparator);
}

// The bytes of a file, or "<missing>" when there is no file at the path.
inline std::string ReadBytes(const std::wstring& path) {
    platform::ReadOnlyFile file;
    uint32_t code = 0;
    std::wstring text;
    if (platform::IsFolder(path) || !file.Open(path, code, text)) {
        return "<missing>";
    }
    std::string bytes(static_cast<size_t>(file.Length()), '\0');
    if (!bytes.empty() && file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())) != bytes.size()) {
        return "<short>";
    }
    return bytes;
}

class Scene {
public:
    Scene() : src(dir / L"src"), dst(dir / L"dst") {
        fixtures::MakeFolders(src);
        fixtures::MakeFolders(dst);
        prompts.folders.push_back(dst);
    }

    // Writes a media file of size bytes into the source folder and lists its record, selected.
    MediaRecord& AddFile(const std::wstring& name, size_t size, const std::wstring& project = L"Harbour") {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = static_cast<char>((i * 7 + name.size() * 13 + name[0]) & 0xFF);
        }
        return AddBytes(name, bytes, project);
    }
    MediaRecord& AddBytes(const std::wstring& name, const std::string& bytes, const std::wstring& project) {
        fixtures::WriteFile(Source(name), bytes);
        content[name] = bytes;
        auto record = std::make_unique<MediaRecord>();
        record->SetPath(src + Sep());
        record->SetFileName(name);
        record->SetProjectName(project);
        record->size = bytes.size();
        record->attributes = platform::ReadAttributes(Source(name));
        record->index = static_cast<int32_t>(records.size());
        selection.rows.push_back({record.get(), true, 0});
        records.push_back(std::move(record));
        return *records.back();
    }

    [[nodiscard]] std::wstring Source(const std::wstring& name) const { return platform::JoinPath(src, name); }
    [[nodiscard]] std::wstring Target(const std::wstring& name) const { return platform::JoinPath(dst, name); }

    [[nodiscard]] FileOperations Operations() {
        return FileOperations({selection, prompts, host, files, &console, nullptr});
    }

    // The names of the rows still selected and of the records marked missing, in list order.
    [[nodiscard]] std::vector<std::wstring> Selected() const {
        std::vector<std::wstring> names;
        for (const auto& row : selection.rows) {
            if (row.selected) {
                names.push_back(row.record->fileName.str());
            }
        }
        return names;
    }
    [[nodiscard]] std::vector<std::wstring> Missing() const {
        std::vector<std::wstring> names;
        for (const auto& record : records) {
            if (record->IsMissing()) {
                names.push_back(record->fileName.str());
            }
        }
        return names;
    }

    fixtures::ScratchDir dir{L"tw-ops"};
    std::wstring src;
    std::wstring dst;
    std::vector<std::unique_ptr<MediaRecord>> records;
    std::map<std::wstring, std::string> content; // the bytes of each file, by name
    ListSelection selection;
    fixtures::ScriptedPrompts prompts;
    TestHost host;
    FaultyFileSystem files;
    LineConsole console;
};

} // namespace tw::testing_ops
