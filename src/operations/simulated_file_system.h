// SimulatedFileSystem: a file system held in memory that answers as a disk would after every step. Over a base
// file system it is a what-if layer: it starts from what the base holds, never changes the base, and keeps every
// change to itself, so that a run can be carried out in full and nothing on the disk is touched (the command line's
// dry run). Without a base it is a disk of its own, whose files the tests put in and read back, with faults and a
// crash at any call on demand.
#pragma once

#include "operations/file_system.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tw {

class SimulatedFileSystem : public FileSystem {
public:
    // The calls that change the disk, as a fault or a crash sees them.
    enum class Call { copy, move, remove, flush, writeAttributes, createFolder };
    // What an injected fault does to a call: code 0 lets it run; any other code makes it fail with that code,
    // and a copy with leavePart writes part of the source first and leaves it there. A copy with code 0 and
    // leavePart reports success but writes a last byte that differs from the source's (a copy damaged on its way).
    struct Fault {
        uint32_t code = 0;
        bool leavePart = false;
    };
    // One file held in the simulation, as a test reads it back.
    struct File {
        std::wstring path;
        std::string content;
        uint32_t attributes = 0;
    };

    // base: the file system the simulation starts from, read and never changed; null for an empty disk.
    // ignoreCase: names are matched without regard to letter case, as on Windows.
    explicit SimulatedFileSystem(FileSystem* base = nullptr, bool ignoreCase = kNamesIgnoreCase);

    // Setting up an empty disk: a folder (with its parents) or a file (its folder must exist), and a volume root:
    // paths below a root lie on its volume, others on the first volume.
    void PutFolder(const std::wstring& path);
    void PutFile(const std::wstring& path, const std::string& content,
                 uint32_t attributes = platform::kAttributeNormal);
    void AddVolume(const std::wstring& root);
    // Takes a file away, as another program would (for faults that make a source vanish).
    void Vanish(const std::wstring& path);
    // Every file held now (not folders), in the order of their paths; with a base, only those the simulation
    // changed or read.
    [[nodiscard]] std::vector<File> Files() const;
    // The content of the file at path, or false.
    [[nodiscard]] bool ReadContent(const std::wstring& path, std::string& content);

    // Called before each changing call with its path (a copy's or move's source); its answer is the call's fault.
    std::function<Fault(Call call, const std::wstring& path, SimulatedFileSystem& files)> fault;
    // Above 0: the process dies after that many changing calls; every later call changes nothing and fails.
    int64_t crashAfter = 0;
    [[nodiscard]] bool Crashed() const { return crashed; }
    // Every changing call so far, in order: "copy SOURCE -> TARGET" and the like.
    std::vector<std::wstring> log;

    uint32_t CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                  const platform::CopyProgressRoutine& routine, platform::CancelFlag* cancel) override;
    uint32_t MoveFileReplacing(const std::wstring& source, const std::wstring& target) override;
    uint32_t RemoveFile(const std::wstring& path) override;
    uint32_t FlushFile(const std::wstring& path) override;
    uint32_t ReadAttributes(const std::wstring& path) override;
    uint32_t WriteAttributes(const std::wstring& path, uint32_t attributes) override;
    uint32_t CreateFolderWithParents(const std::wstring& path) override;
    bool PathExists(const std::wstring& path) override;
    bool IsSameRoot(const std::wstring& a, const std::wstring& b) override;
    bool QueryFileIdentity(const std::wstring& path, platform::FileIdentity& identity) override;
    // Over a base, files whose bytes are still those of base files are compared by the base.
    uint32_t CompareFiles(const std::wstring& a, const std::wstring& b, bool& same) override;

#ifdef _WIN32
    static constexpr bool kNamesIgnoreCase = true;
#else
    static constexpr bool kNamesIgnoreCase = false;
#endif

private:
    struct Node {
        bool exists = false;
        bool folder = false;
        std::wstring path;
        std::string content; // an empty disk's files; a base file's content is not read
        std::wstring origin; // the base file whose bytes this file holds; empty when the simulation wrote them
        uint64_t size = 0;
        uint32_t attributes = 0;
        uint64_t volume = 0;
        uint64_t index = 0;
    };

    [[nodiscard]] std::wstring Key(const std::wstring& path) const;
    // The node at path, taken from the base the first time; null when nothing is there.
    Node* Find(const std::wstring& path);
    [[nodiscard]] bool FolderExists(const std::wstring& path);
    [[nodiscard]] uint64_t VolumeOf(const std::wstring& path) const;
    // Counts a changing call and asks for its fault; true when the call may go on, else code says why.
    bool Begin(Call call, const std::wstring& path, const std::wstring& what, uint32_t& code, bool& leavePart);

    FileSystem* base;
    bool ignoreCase;
    std::map<std::wstring, Node> nodes;
    std::vector<std::wstring> volumeRoots;
    uint64_t nextIndex = 1;
    int64_t changingCalls = 0;
    bool crashed = false;
};

} // namespace tw
