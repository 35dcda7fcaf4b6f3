// Questions to drives that may not answer. A mapped network drive whose server is away keeps every question
// to it (its space, its label, a look for a folder) waiting for tens of seconds; the window would stand still
// meanwhile. Such drives are asked on worker threads, all at once, and the window waits for them a bounded
// time; an answer that comes later is dropped. The other drives are asked on the caller's thread.
#pragma once

#include "discovery/database_search.h"
#include "seams/console.h"
#include "ui/hardware_tool_model.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace tw {

// How long the window waits for the drives asked on worker threads, together.
inline constexpr uint32_t kDriveAnswerLimitMs = 3000;

// The console line of a drive that did not answer in time.
[[nodiscard]] std::wstring DriveNotAnsweringLine(const std::wstring& root);

// What is asked of drives, and which of them with a bounded wait.
template <typename Answer> struct DriveQuestion {
    // Asked of one drive; may run on a worker thread after the caller has stopped waiting, so it holds
    // nothing of the caller's.
    std::function<Answer(const std::wstring& root)> ask;
    // Whether the drive is asked on a worker thread.
    std::function<bool(const std::wstring& root)> bounded;
    uint32_t limitMs = kDriveAnswerLimitMs;
};

// Asks every root, in order: the answer, or none for a bounded drive that did not answer within the limit,
// which is then named on console (null: nowhere).
template <typename Answer>
std::vector<std::optional<Answer>> AskDrives(const std::vector<std::wstring>& roots,
                                             const DriveQuestion<Answer>& question, Console* console) {
    struct Shared {
        std::mutex mutex;
        std::condition_variable answered;
        std::vector<std::optional<Answer>> answers;
    };
    auto shared = std::make_shared<Shared>();
    shared->answers.resize(roots.size());
    std::vector<bool> bounded(roots.size(), false);
    for (size_t i = 0; i < roots.size(); ++i) {
        bounded[i] = question.bounded && question.bounded(roots[i]);
        if (!bounded[i]) {
            continue;
        }
        try {
            // The worker owns copies of all it uses; a late answer lands in the shared state nobody reads.
            std::thread([shared, ask = question.ask, root = roots[i], i] {
                Answer answer = ask(root);
                const std::lock_guard<std::mutex> lock(shared->mutex);
                shared->answers[i] = std::move(answer);
                shared->answered.notify_all();
            }).detach();
        } catch (const std::system_error&) {
            // No thread to ask it on: the drive counts as silent.
        }
    }
    std::vector<std::optional<Answer>> answers(roots.size());
    for (size_t i = 0; i < roots.size(); ++i) {
        if (!bounded[i]) {
            answers[i] = question.ask(roots[i]);
        }
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(question.limitMs);
    std::vector<std::wstring> silent;
    {
        std::unique_lock<std::mutex> lock(shared->mutex);
        for (size_t i = 0; i < roots.size(); ++i) {
            if (!bounded[i]) {
                continue;
            }
            shared->answered.wait_until(lock, deadline, [&] { return shared->answers[i].has_value(); });
            if (shared->answers[i].has_value()) {
                answers[i] = shared->answers[i];
            } else {
                silent.push_back(roots[i]);
            }
        }
    }
    for (const std::wstring& root : silent) {
        AppendLine(console, DriveNotAnsweringLine(root));
    }
    return answers;
}

// Whether the drive at root is a network drive (GetDriveTypeW).
[[nodiscard]] bool IsNetworkDrive(const std::wstring& root);

// The drive list for a database search: the drives of driveStrings, without the bounded drives that did not
// answer within the limit, in the form of GetLogicalDriveStringsW. Only the bounded drives are asked.
[[nodiscard]] DriveStringsFunction AnsweringDrives(const DriveStringsFunction& driveStrings,
                                                   const DriveQuestion<bool>& question, Console* console);
// The question AnsweringDrives asks of the system's drives: whether the drive's root can be looked at at all.
[[nodiscard]] DriveQuestion<bool> DriveReachable();

// Every drive of the list with its type, space and label, as QueryDrives gives them; a network drive that did
// not answer within the limit shows as not ready.
[[nodiscard]] std::vector<DriveInfo> QueryDrivesWithin(const DriveStringsFunction& driveStrings,
                                                       const DriveQuestion<DriveInfo>& question, Console* console);
// The question QueryDrivesWithin asks of the system's drives: QueryDrives for the one drive.
[[nodiscard]] DriveQuestion<DriveInfo> DriveDetails();

} // namespace tw
