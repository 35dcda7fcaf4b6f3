// The file systems a plan's run works through besides the disk: one that makes a store's folder only when the first
// file goes into it, and the dry run's simulation that refuses what the disk would refuse.
#pragma once

#include "operations/file_system.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace tw::cli {

// Every call to another file system, for file systems that change what a few calls do.
class ForwardingFileSystem : public FileSystem {
public:
    explicit ForwardingFileSystem(FileSystem& inner) : inner(inner) {}
    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override {
        return inner.CopyFileWithProgress(source, target, routine, cancel);
    }
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override {
        return inner.MoveFileReplacing(source, target);
    }
    uint32_t RemoveFile(const std::wstring& path) override { return inner.RemoveFile(path); }
    uint32_t FlushFile(const std::wstring& path) override { return inner.FlushFile(path); }
    uint32_t ReadAttributes(const std::wstring& path) override { return inner.ReadAttributes(path); }
    uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes) override {
        return inner.WriteAttributes(path, attributes);
    }
    uint32_t CreateFolderWithParents(const std::wstring& path) override { return inner.CreateFolderWithParents(path); }
    bool PathExists(const std::wstring& path) override { return inner.PathExists(path); }
    bool IsSameRoot(const std::wstring& a, const std::wstring& b) override { return inner.IsSameRoot(a, b); }
    bool QueryFileIdentity(const std::wstring& path, platform::FileIdentity& identity) override {
        return inner.QueryFileIdentity(path, identity);
    }
    uint32_t CompareFiles(const std::wstring& a, const std::wstring& b, bool& same) override {
        return inner.CompareFiles(a, b, same);
    }

protected:
    FileSystem& inner;
};

// A store's folder that is not there yet is made only when the first file is put into it, so that a run that ends
// before its first file leaves no empty folder behind.
class FolderOnDemand : public ForwardingFileSystem {
public:
    FolderOnDemand(FileSystem& inner, std::wstring folder) : ForwardingFileSystem(inner), folder(std::move(folder)) {}
    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override;
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override;

private:
    // Makes the folder unless it is there; 0 or the code of the failure.
    uint32_t Make();

    std::wstring folder;
    bool made = false;
};

// The dry run's files: the simulation, where a copy, a rename or a new folder is refused as the disk would refuse
// it when the folder it writes into (the nearest one that is there) cannot be written. Each such folder is tried
// once, with a file written and taken away again.
class WritableCheck : public ForwardingFileSystem {
public:
    WritableCheck(FileSystem& simulation, FileSystem& disk) : ForwardingFileSystem(simulation), disk(disk) {}
    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override;
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override;
    uint32_t CreateFolderWithParents(const std::wstring& path) override;

private:
    // 0 when the nearest folder of path that is on the disk takes a new file, else the code the disk answered.
    uint32_t Check(std::wstring folder);
    static uint32_t TryWriting(const std::wstring& folder);

    FileSystem& disk;
    std::map<std::wstring, uint32_t> tried;
};

} // namespace tw::cli
