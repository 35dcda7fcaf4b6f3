// Test doubles of the file operations: the selection as a plain list of rows, a host without windows that keeps
// what the run showed, and a file system that fails on demand.
#pragma once

#include "fixtures/file_io.h"
#include "fixtures/recording_progress.h"
#include "operations/file_selection.h"
#include "operations/file_system.h"
#include "operations/operation_host.h"
#include "platform/platform.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tw::testing_ops {

// The selected rows of a list: each row a record (or none) and its selection state.
class ListSelection : public FileSelection {
public:
    struct Row {
        MediaRecord* record = nullptr;
        bool selected = true;
        int refreshed = 0;
    };

    [[nodiscard]] int FirstSelected() const override { return NextSelected(-1); }
    [[nodiscard]] int NextSelected(int item) const override {
        for (size_t i = static_cast<size_t>(item + 1); i < rows.size(); ++i) {
            if (rows[i].selected) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    [[nodiscard]] size_t SelectedCount() const override {
        size_t count = 0;
        for (const Row& row : rows) {
            count += row.selected ? 1 : 0;
        }
        return count;
    }
    [[nodiscard]] MediaRecord* RecordOf(int item) const override { return rows[static_cast<size_t>(item)].record; }
    void Deselect(int item) override { rows[static_cast<size_t>(item)].selected = false; }
    void RefreshItem(int item, const MediaRecord&) override { ++rows[static_cast<size_t>(item)].refreshed; }
    [[nodiscard]] uint64_t SelectedSize() const override {
        uint64_t size = 0;
        for (const Row& row : rows) {
            size += row.selected && row.record != nullptr ? row.record->size : 0;
        }
        return size;
    }

    std::vector<Row> rows;
};

// A host without windows: counts the busy state, keeps the run's progress display after the run.
class TestHost : public OperationHost {
public:
    void EnterBusyState() override { ++entered; }
    void LeaveBusyState() override { ++left; }
    Progress* OpenProgress() override {
        ++opened;
        progress = std::make_unique<fixtures::RecordingProgress>();
        return progress.get();
    }
    void CloseProgress() override { ++closed; }
    void DispatchOneMessage() override {
        ++dispatched;
        if (onDispatch) {
            onDispatch();
        }
    }
    void DispatchListMessage() override { ++listDispatched; }

    int entered = 0;
    int left = 0;
    int opened = 0;
    int closed = 0;
    int dispatched = 0;
    int listDispatched = 0;
    std::unique_ptr<fixtures::RecordingProgress> progress;
    // Runs with every message dispatched between two files.
    std::function<void()> onDispatch;
};

// The platform's file system with faults on demand, matched by the exact path a call names (for copies and
// moves, the source). Every call that changes attributes or removes a file is kept.
class FaultyFileSystem : public FileSystem {
public:
    enum class Call { copy, move, remove, flush, readAttributes, createFolder };
    struct Fault {
        Call call;
        std::wstring path;
        uint32_t code = 0;
        // copy: bytes of the source written to the target before the copy answers code, left there as a system
        // copy that does not clean up leaves them (with code 0: a copy that answers success but stops short).
        uint64_t writtenBytes = 0;
    };

    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override {
        copies.push_back(source);
        if (const Fault* fault = Find(Call::copy, source)) {
            if (fault->writtenBytes > 0) {
                WritePart(source, target, fault->writtenBytes);
            }
            return fault->code;
        }
        if (cancelAtByte > 0 && cancel != nullptr) {
            // The user presses Cancel once that many bytes of a file are copied.
            const uint64_t at = cancelAtByte;
            return FileSystem::CopyFileWithProgress(
                source, target,
                [&routine, cancel, at](uint64_t copied, uint64_t size) {
                    if (routine) {
                        routine(copied, size);
                    }
                    if (copied >= at) {
                        *cancel = 1;
                    }
                },
                cancel);
        }
        return FileSystem::CopyFileWithProgress(source, target, routine, cancel);
    }
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override {
        if (const Fault* fault = Find(Call::move, source)) {
            return fault->code;
        }
        return FileSystem::MoveFileReplacing(source, target);
    }
    uint32_t RemoveFile(const std::wstring& path) override {
        removals.push_back(path);
        if (const Fault* fault = Find(Call::remove, path)) {
            return fault->code;
        }
        return FileSystem::RemoveFile(path);
    }
    uint32_t FlushFile(const std::wstring& path) override {
        flushes.push_back(path);
        if (const Fault* fault = Find(Call::flush, path)) {
            return fault->code;
        }
        return FileSystem::FlushFile(path);
    }
    uint32_t ReadAttributes(const std::wstring& path) override {
        if (Find(Call::readAttributes, path) != nullptr) {
            return platform::kInvalidAttributes;
        }
        return FileSystem::ReadAttributes(path);
    }
    uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes) override {
        attributeWrites.emplace_back(path, attributes);
        return FileSystem::WriteAttributes(path, attributes);
    }
    uint32_t CreateFolderWithParents(const std::wstring& path) override {
        if (const Fault* fault = Find(Call::createFolder, path)) {
            return fault->code;
        }
        return FileSystem::CreateFolderWithParents(path);
    }
    bool IsSameRoot(const std::wstring& a, const std::wstring& b) override {
        return !otherVolume && FileSystem::IsSameRoot(a, b);
    }

    std::vector<Fault> faults;
    // Every target lies on another volume than every source.
    bool otherVolume = false;
    // Above 0: Cancel is pressed during each copy once this many bytes are copied.
    uint64_t cancelAtByte = 0;
    std::vector<std::wstring> copies;
    std::vector<std::wstring> removals;
    std::vector<std::wstring> flushes;
    std::vector<std::pair<std::wstring, uint32_t>> attributeWrites;

private:
    const Fault* Find(Call call, const std::wstring& path) const {
        for (const Fault& fault : faults) {
            if (fault.call == call && fault.path == path) {
                return &fault;
            }
        }
        return nullptr;
    }

    static void WritePart(const std::wstring& source, const std::wstring& target, uint64_t count) {
        platform::ReadOnlyFile file;
        uint32_t code = 0;
        std::wstring text;
        if (!file.Open(source, code, text)) {
            return;
        }
        std::string bytes(static_cast<size_t>(count), '\0');
        bytes.resize(file.Read(bytes.data(), static_cast<uint32_t>(bytes.size())));
        fixtures::WriteFile(target, bytes);
    }
};

} // namespace tw::testing_ops
