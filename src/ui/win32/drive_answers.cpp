#include "ui/win32/drive_answers.h"

#include "platform/platform.h"

#include <algorithm>

namespace tw {

namespace {

// The drive list of the given roots, in the form of GetLogicalDriveStringsW.
DriveStringsFunction DriveStringsOf(const std::vector<std::wstring>& roots) {
    std::wstring list;
    for (const std::wstring& root : roots) {
        list += root;
        list += L'\0';
    }
    return [list](uint32_t length, wchar_t* buffer) -> uint32_t {
        if (buffer == nullptr || length < list.size() + 1) {
            return static_cast<uint32_t>(list.size() + 1);
        }
        std::copy(list.begin(), list.end(), buffer);
        buffer[list.size()] = L'\0';
        return static_cast<uint32_t>(list.size());
    };
}

} // namespace

std::wstring DriveNotAnsweringLine(const std::wstring& root) {
    return L"QRB::Drive::No answer::" + root;
}

bool IsNetworkDrive(const std::wstring& root) {
    return platform::DriveType(root) == platform::kDriveRemote;
}

DriveStringsFunction AnsweringDrives(const DriveStringsFunction& driveStrings, const DriveQuestion<bool>& question,
                                     Console* console) {
    // Only the drives that may keep the search waiting are asked; the search itself asks the others.
    const std::vector<std::wstring> roots = ReadDriveList(driveStrings);
    std::vector<std::wstring> bounded;
    for (const std::wstring& root : roots) {
        if (question.bounded && question.bounded(root)) {
            bounded.push_back(root);
        }
    }
    const std::vector<std::optional<bool>> answers = AskDrives(bounded, question, console);
    std::vector<std::wstring> answering;
    for (const std::wstring& root : roots) {
        const auto at = std::find(bounded.begin(), bounded.end(), root);
        if (at == bounded.end() || answers[static_cast<size_t>(at - bounded.begin())].has_value()) {
            answering.push_back(root);
        }
    }
    return DriveStringsOf(answering);
}

DriveQuestion<bool> DriveReachable() {
    DriveQuestion<bool> question;
    // Any answer will do, a refusal too: what counts is that the drive does not keep the search waiting.
    question.ask = [](const std::wstring& root) {
        uint64_t total = 0;
        uint64_t free = 0;
        (void)platform::DriveSpace(root, total, free);
        return true;
    };
    question.bounded = IsNetworkDrive;
    return question;
}

std::vector<DriveInfo> QueryDrivesWithin(const DriveStringsFunction& driveStrings,
                                         const DriveQuestion<DriveInfo>& question, Console* console) {
    const std::vector<std::wstring> roots = ReadDriveList(driveStrings);
    const std::vector<std::optional<DriveInfo>> answers = AskDrives(roots, question, console);
    std::vector<DriveInfo> drives;
    for (size_t i = 0; i < roots.size(); ++i) {
        if (answers[i].has_value()) {
            drives.push_back(*answers[i]);
        } else {
            DriveInfo silent;
            silent.root = roots[i];
            silent.type = platform::DriveType(roots[i]);
            drives.push_back(silent);
        }
    }
    return drives;
}

DriveQuestion<DriveInfo> DriveDetails() {
    DriveQuestion<DriveInfo> question;
    question.ask = [](const std::wstring& root) {
        std::vector<DriveInfo> drives = QueryDrives(DriveStringsOf({root}));
        if (drives.empty()) {
            DriveInfo drive;
            drive.root = root;
            return drive;
        }
        return drives.front();
    };
    question.bounded = IsNetworkDrive;
    return question;
}

} // namespace tw
