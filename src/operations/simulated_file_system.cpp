#include "operations/simulated_file_system.h"

#include <cwctype>

namespace tw {

namespace {

// The codes the system gives for the refusals a disk makes.
#ifdef _WIN32
constexpr uint32_t kNotFound = 2;       // ERROR_FILE_NOT_FOUND
constexpr uint32_t kPathNotFound = 3;   // ERROR_PATH_NOT_FOUND
constexpr uint32_t kAccessDenied = 5;   // ERROR_ACCESS_DENIED
constexpr uint32_t kIsFolder = 5;       // a folder where a file is named: ERROR_ACCESS_DENIED
constexpr uint32_t kInUse = 32;         // ERROR_SHARING_VIOLATION
constexpr uint32_t kOtherVolume = 17;   // ERROR_NOT_SAME_DEVICE
constexpr uint32_t kProcessGone = 1067; // ERROR_PROCESS_ABORTED
#else
constexpr uint32_t kNotFound = 2;      // ENOENT
constexpr uint32_t kPathNotFound = 2;  // ENOENT
constexpr uint32_t kAccessDenied = 13; // EACCES
constexpr uint32_t kIsFolder = 21;     // EISDIR
constexpr uint32_t kInUse = 16;        // EBUSY
constexpr uint32_t kOtherVolume = 18;  // EXDEV
constexpr uint32_t kProcessGone = 5;   // EIO
#endif

bool ReadOnly(uint32_t attributes) {
    return (attributes & platform::kAttributeReadOnly) != 0;
}

} // namespace

SimulatedFileSystem::SimulatedFileSystem(FileSystem* base, bool ignoreCase) : base(base), ignoreCase(ignoreCase) {}

std::wstring SimulatedFileSystem::Key(const std::wstring& path) const {
    std::wstring key = platform::RemoveTrailingSeparator(path);
    if (ignoreCase) {
        for (wchar_t& c : key) {
            c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
        }
    }
    return key;
}

SimulatedFileSystem::Node* SimulatedFileSystem::Find(const std::wstring& path) {
    if (path.empty()) {
        return nullptr;
    }
    const std::wstring key = Key(path);
    auto it = nodes.find(key);
    if (it == nodes.end()) {
        Node node;
        node.path = platform::RemoveTrailingSeparator(path);
        if (base != nullptr) {
            const uint32_t attributes = base->ReadAttributes(path);
            platform::FileIdentity identity;
            if (attributes != platform::kInvalidAttributes && base->QueryFileIdentity(path, identity)) {
                node.exists = true;
                node.folder = (attributes & platform::kAttributeDirectory) != 0;
                node.attributes = attributes;
                node.size = identity.size;
                node.volume = identity.volume;
                node.index = identity.index;
                node.origin = node.path;
            }
        }
        it = nodes.emplace(key, std::move(node)).first;
    }
    return it->second.exists ? &it->second : nullptr;
}

uint32_t SimulatedFileSystem::CompareFiles(const std::wstring& a, const std::wstring& b, bool& same) {
    same = false;
    const Node* first = Find(a);
    const Node* second = Find(b);
    if (first == nullptr || second == nullptr || first->folder || second->folder) {
        return kNotFound;
    }
    if (base != nullptr && !first->origin.empty() && !second->origin.empty()) {
        if (Key(first->origin) == Key(second->origin)) {
            same = true;
            return 0;
        }
        return base->CompareFiles(first->origin, second->origin, same);
    }
    same = first->origin.empty() && second->origin.empty() && first->size == second->size &&
           first->content == second->content;
    return 0;
}

bool SimulatedFileSystem::FolderExists(const std::wstring& path) {
    const Node* node = Find(path);
    return node != nullptr && node->folder;
}

uint64_t SimulatedFileSystem::VolumeOf(const std::wstring& path) const {
    const std::wstring key = Key(path);
    uint64_t volume = 0;
    size_t longest = 0;
    for (size_t i = 0; i < volumeRoots.size(); ++i) {
        const std::wstring& root = volumeRoots[i];
        const bool below = key.size() > root.size() && key.compare(0, root.size(), root) == 0 &&
                           key[root.size()] == platform::kPathSeparator;
        if ((key == root || below) && root.size() >= longest) {
            longest = root.size();
            volume = i + 1;
        }
    }
    return volume;
}

bool SimulatedFileSystem::Begin(Call call, const std::wstring& path, const std::wstring& what, uint32_t& code,
                                bool& leavePart) {
    leavePart = false;
    if (crashed) {
        code = kProcessGone;
        return false;
    }
    ++changingCalls;
    if (crashAfter > 0 && changingCalls > crashAfter) {
        crashed = true;
        code = kProcessGone;
        return false;
    }
    log.push_back(what);
    code = 0;
    if (fault) {
        const Fault injected = fault(call, path, *this);
        code = injected.code;
        leavePart = injected.leavePart;
    }
    return code == 0;
}

void SimulatedFileSystem::PutFolder(const std::wstring& path) {
    const std::wstring parent = platform::RemoveFileSpec(platform::RemoveTrailingSeparator(path));
    if (!parent.empty() && parent != platform::RemoveTrailingSeparator(path) && !FolderExists(parent)) {
        PutFolder(parent);
    }
    Node& node = nodes[Key(path)];
    node = Node();
    node.exists = true;
    node.folder = true;
    node.path = platform::RemoveTrailingSeparator(path);
    node.attributes = platform::kAttributeDirectory;
    node.volume = VolumeOf(path);
    node.index = nextIndex++;
}

void SimulatedFileSystem::PutFile(const std::wstring& path, const std::string& content, uint32_t attributes) {
    Node& node = nodes[Key(path)];
    node = Node();
    node.exists = true;
    node.path = path;
    node.content = content;
    node.size = content.size();
    node.attributes = attributes;
    node.volume = VolumeOf(path);
    node.index = nextIndex++;
}

void SimulatedFileSystem::AddVolume(const std::wstring& root) {
    volumeRoots.push_back(Key(root));
}

void SimulatedFileSystem::Vanish(const std::wstring& path) {
    if (Node* node = Find(path)) {
        node->exists = false;
    }
}

std::vector<SimulatedFileSystem::File> SimulatedFileSystem::Files() const {
    std::vector<File> files;
    for (const auto& [key, node] : nodes) {
        if (node.exists && !node.folder) {
            files.push_back({node.path, node.content, node.attributes});
        }
    }
    return files;
}

bool SimulatedFileSystem::ReadContent(const std::wstring& path, std::string& content) {
    const Node* node = Find(path);
    if (node == nullptr || node->folder) {
        return false;
    }
    content = node->content;
    return true;
}

uint32_t SimulatedFileSystem::CopyFileWithProgress(const std::wstring& source, const std::wstring& target,
                                                   const platform::CopyProgressRoutine& routine,
                                                   platform::CancelFlag* cancel) {
    if (cancel != nullptr && *cancel != 0) {
        return platform::kErrorRequestAborted;
    }
    uint32_t code = 0;
    bool leavePart = false;
    const bool go = Begin(Call::copy, source, L"copy " + source + L" -> " + target, code, leavePart);
    if (crashed) {
        return code;
    }
    const Node* from = Find(source);
    if (from == nullptr) {
        return kNotFound;
    }
    if (from->folder) {
        return kIsFolder;
    }
    if (!FolderExists(platform::RemoveFileSpec(target))) {
        return kPathNotFound;
    }
    const Node copied = *from;
    if (const Node* to = Find(target)) {
        if (to->folder || ReadOnly(to->attributes)) {
            return kAccessDenied;
        }
        if (to->volume == copied.volume && to->index == copied.index) {
            return kInUse;
        }
    }
    if (routine) {
        routine(0, copied.size);
    }
    Node& node = nodes[Key(target)];
    if (!go) {
        // A system copy that fails part-way and does not clean up leaves what it wrote.
        if (leavePart) {
            node = Node();
            node.exists = true;
            node.path = target;
            node.content = copied.content.substr(0, copied.content.size() / 2);
            node.size = copied.size / 2;
            node.attributes = platform::kAttributeNormal;
            node.volume = VolumeOf(target);
            node.index = nextIndex++;
        }
        return code;
    }
    node = copied;
    node.path = target;
    if (leavePart) {
        // Damaged on its way: as long as the source, its last byte another.
        node.origin.clear();
        node.content = copied.content;
        if (!node.content.empty()) {
            node.content.back() = static_cast<char>(node.content.back() ^ 0x5A);
        }
    }
    node.volume = base != nullptr ? copied.volume : VolumeOf(target);
    node.index = nextIndex++ + (base != nullptr ? (uint64_t{1} << 62) : 0);
    if (routine) {
        routine(copied.size, copied.size);
    }
    return 0;
}

uint32_t SimulatedFileSystem::MoveFileReplacing(const std::wstring& source, const std::wstring& target) {
    uint32_t code = 0;
    bool leavePart = false;
    if (!Begin(Call::move, source, L"move " + source + L" -> " + target, code, leavePart)) {
        return code;
    }
    Node* from = Find(source);
    if (from == nullptr) {
        return kNotFound;
    }
    if (!FolderExists(platform::RemoveFileSpec(target))) {
        return kPathNotFound;
    }
    // Over a base the run has asked the base itself whether the two lie on one volume.
    if (base == nullptr && !IsSameRoot(source, target)) {
        return kOtherVolume;
    }
    if (const Node* to = Find(target)) {
        if (to->volume == from->volume && to->index == from->index) {
            // Another spelling of the same file: a rename that changes only the letter case.
            Node moved = *from;
            from->exists = false;
            moved.path = target;
            nodes[Key(target)] = moved;
            return 0;
        }
        if (to->folder || ReadOnly(to->attributes) || from->folder) {
            return kAccessDenied;
        }
    }
    Node moved = *from;
    from->exists = false;
    moved.path = target;
    nodes[Key(target)] = moved;
    return 0;
}

uint32_t SimulatedFileSystem::RemoveFile(const std::wstring& path) {
    uint32_t code = 0;
    bool leavePart = false;
    if (!Begin(Call::remove, path, L"remove " + path, code, leavePart)) {
        return code;
    }
    Node* node = Find(path);
    if (node == nullptr) {
        return kNotFound;
    }
    if (node->folder) {
        return kIsFolder;
    }
    if (ReadOnly(node->attributes)) {
        return kAccessDenied;
    }
    node->exists = false;
    return 0;
}

uint32_t SimulatedFileSystem::FlushFile(const std::wstring& path) {
    uint32_t code = 0;
    bool leavePart = false;
    if (!Begin(Call::flush, path, L"flush " + path, code, leavePart)) {
        return code;
    }
    return Find(path) != nullptr ? 0 : kNotFound;
}

uint32_t SimulatedFileSystem::ReadAttributes(const std::wstring& path) {
    const Node* node = Find(path);
    return node != nullptr ? node->attributes : platform::kInvalidAttributes;
}

uint32_t SimulatedFileSystem::WriteAttributes(const std::wstring& path, uint32_t attributes) {
    uint32_t code = 0;
    bool leavePart = false;
    if (!Begin(Call::writeAttributes, path, L"attributes " + path, code, leavePart)) {
        return code;
    }
    Node* node = Find(path);
    if (node == nullptr) {
        return kNotFound;
    }
    node->attributes = (node->folder ? platform::kAttributeDirectory : 0) | (attributes & platform::kAttributeReadOnly);
    if (node->attributes == 0) {
        node->attributes = platform::kAttributeNormal;
    }
    return 0;
}

uint32_t SimulatedFileSystem::CreateFolderWithParents(const std::wstring& path) {
    if (platform::IsRelativePath(path)) {
        return platform::kFolderBadPathName;
    }
    uint32_t code = 0;
    bool leavePart = false;
    if (!Begin(Call::createFolder, path, L"folder " + path, code, leavePart)) {
        return code;
    }
    if (Find(path) != nullptr) {
        return platform::kFolderAlreadyExists;
    }
    // Every missing parent is made, outermost first; a file in the way stops it.
    std::vector<std::wstring> missing;
    std::wstring at = platform::RemoveTrailingSeparator(path);
    for (;;) {
        const Node* node = Find(at);
        if (node != nullptr) {
            if (!node->folder) {
                return platform::kFolderPathNotFound;
            }
            break;
        }
        missing.push_back(at);
        const std::wstring parent = platform::RemoveFileSpec(at);
        if (parent.empty() || parent == at) {
            break;
        }
        at = parent;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        Node& node = nodes[Key(*it)];
        node = Node();
        node.exists = true;
        node.folder = true;
        node.path = *it;
        node.attributes = platform::kAttributeDirectory;
        node.volume = VolumeOf(*it);
        node.index = nextIndex++;
    }
    return 0;
}

bool SimulatedFileSystem::PathExists(const std::wstring& path) {
    return Find(path) != nullptr;
}

bool SimulatedFileSystem::IsSameRoot(const std::wstring& a, const std::wstring& b) {
    if (base != nullptr) {
        return base->IsSameRoot(a, b);
    }
    return VolumeOf(a) == VolumeOf(b);
}

bool SimulatedFileSystem::QueryFileIdentity(const std::wstring& path, platform::FileIdentity& identity) {
    const Node* node = Find(path);
    if (node == nullptr) {
        return false;
    }
    identity.volume = node->volume;
    identity.index = node->index;
    identity.size = node->size;
    return true;
}

} // namespace tw
