// Copying large media files through the file operations (CopyFiles with its copy-progress routine feeding the
// bars' scaling as the progress dialog does), against the floor of the same bytes copied on the same disk in the
// same run by the platform's plain copy (no routine, no flag) and by cp, whichever is faster; each figure is the
// best of its turns. The engine writes each copy to the disk before it gives it its name (a copy in the page cache
// alone is lost with the power), so it is also set against the durable floor: the platform's plain copy followed by
// the platform's flush of each copy, the same bytes on the disk. Target: at least 90 % of the durable floor's
// throughput, with memory that does not grow with the file size; of_floor shows what the flush costs beside a copy
// that leaves its bytes in the page cache.
// Usage: copy_bench [--files=N] [--size-mb=N] [benchmark options]   (default 4 files of 256 MB; check the free
// space of the temporary folder's disk first: the sources and one set of copies are there at once)
#include "bench_util.h"
#include "fixtures/file_io.h"
#include "fixtures/scripted_prompts.h"
#include "heap_counter.h"
#include "operations/file_operations.h"
#include "platform/platform.h"
#include "ui/bar_scale.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

size_t fileCount = 4;
size_t fileMegabytes = 256;

// The source files of pseudo-random bytes (written a megabyte at a time) and an empty target folder.
struct Media {
    tw::fixtures::ScratchDir dir{L"tw-copy-bench"};
    std::wstring source = dir / L"OMFI MediaFiles";
    std::wstring target = dir / L"Archive";
    std::vector<std::wstring> names;

    Media() {
        tw::fixtures::MakeFolders(source);
        tw::fixtures::MakeFolders(target);
        std::vector<uint64_t> chunk(1024 * 1024 / sizeof(uint64_t));
        uint64_t state = 0x9E3779B97F4A7C15ull;
        for (size_t i = 0; i < fileCount; ++i) {
            names.push_back(L"A01C0" + std::to_wstring(i + 1) + L"_SCENE12_TAKE4.V1.omf");
            std::ofstream out(tw::platform::WideToUtf8(tw::platform::JoinPath(source, names.back())), std::ios::binary);
            for (size_t mb = 0; mb < fileMegabytes; ++mb) {
                for (uint64_t& word : chunk) {
                    state ^= state << 13;
                    state ^= state >> 7;
                    state ^= state << 17;
                    word = state;
                }
                out.write(reinterpret_cast<const char*>(chunk.data()), static_cast<std::streamsize>(chunk.size() * 8));
            }
        }
    }

    [[nodiscard]] uint64_t Bytes() const { return uint64_t{fileCount} * fileMegabytes * 1024 * 1024; }

    // Removes the copies and writes every dirty page out, outside the timed part.
    void ClearTarget() const {
        for (const std::wstring& name : names) {
            (void)tw::platform::RemoveFile(tw::platform::JoinPath(target, name));
        }
        ::sync();
    }
};

const Media& TheMedia() {
    static const Media media;
    return media;
}

// The progress dialog's arithmetic without its window: both bars scaled to 255 steps.
class ScaledProgress : public tw::Progress {
public:
    void SetCaption(const std::wstring&) override {}
    void SetProgress(uint64_t done, uint64_t total) override { benchmark::DoNotOptimize(main.Update(done, total)); }
    void SetFileText(const std::wstring& text) override { benchmark::DoNotOptimize(text.size()); }
    void SetFileProgress(uint64_t done, uint64_t total) override { benchmark::DoNotOptimize(file.Update(done, total)); }

private:
    tw::BarScale main;
    tw::BarScale file;
};

class Host : public tw::OperationHost {
public:
    tw::Progress* OpenProgress() override {
        progress = std::make_unique<ScaledProgress>();
        return progress.get();
    }
    void CloseProgress() override { progress.reset(); }
    std::unique_ptr<ScaledProgress> progress;
};

class Selection : public tw::FileSelection {
public:
    explicit Selection(const Media& media) {
        for (const std::wstring& name : media.names) {
            auto record = std::make_unique<tw::MediaRecord>();
            record->SetPath(media.source + L"/");
            record->SetFileName(name);
            record->size = uint64_t{fileMegabytes} * 1024 * 1024;
            records.push_back(std::move(record));
        }
        selected.assign(records.size(), true);
    }
    [[nodiscard]] int FirstSelected() const override { return NextSelected(-1); }
    [[nodiscard]] int NextSelected(int item) const override {
        for (size_t i = static_cast<size_t>(item + 1); i < selected.size(); ++i) {
            if (selected[i]) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    [[nodiscard]] size_t SelectedCount() const override { return selected.size(); }
    [[nodiscard]] tw::MediaRecord* RecordOf(int item) const override {
        return records[static_cast<size_t>(item)].get();
    }
    void Deselect(int item) override { selected[static_cast<size_t>(item)] = false; }
    void RefreshItem(int, const tw::MediaRecord&) override {}
    [[nodiscard]] uint64_t SelectedSize() const override { return uint64_t{records.size()} * records[0]->size; }

    std::vector<std::unique_ptr<tw::MediaRecord>> records;
    std::vector<bool> selected;
};

double Seconds(const std::function<void()>& fn) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The peak resident set since the last reset, in MB (VmHWM of /proc/self/status).
double PeakResidentMB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
        }
    }
    return 0;
}

void ResetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

void BM_CopyLargeFiles(benchmark::State& state) {
    const Media& media = TheMedia();
    const std::string cp =
        "cp '" + tw::platform::WideToUtf8(media.source) + "'/*.omf '" + tw::platform::WideToUtf8(media.target) + "'/";
    double engine = 1e100;
    double platform = 1e100;
    double command = 1e100;
    double durable = 1e100;
    double heapMB = 0;
    double residentMB = 0;
    // The four copies take turns, each iteration starting with the next one, so that none always comes first.
    size_t turn = 0;
    for (auto _ : state) {
        double took = 0;
        for (size_t k = 0; k < 4; ++k) {
            media.ClearTarget();
            switch ((turn + k) % 4) {
            case 0: {
                ResetPeakResident();
                const size_t before = tw::bench::HeapNow();
                tw::bench::ResetHeapPeak();
                took = Seconds([&] {
                    Selection selection(media);
                    tw::fixtures::ScriptedPrompts prompts;
                    prompts.folders.push_back(media.target);
                    Host host;
                    tw::FileSystem files;
                    tw::FileOperations({selection, prompts, host, files, nullptr, nullptr}).CopyFiles();
                });
                engine = std::min(engine, took);
                heapMB = std::max(heapMB, static_cast<double>(tw::bench::HeapPeak() - before) / (1024.0 * 1024.0));
                residentMB = std::max(residentMB, PeakResidentMB());
                break;
            }
            case 1:
                platform = std::min(platform, Seconds([&] {
                                        for (const std::wstring& name : media.names) {
                                            (void)tw::platform::CopyFileWithProgress(
                                                tw::platform::JoinPath(media.source, name),
                                                tw::platform::JoinPath(media.target, name), {}, nullptr);
                                        }
                                    }));
                break;
            case 2:
                command = std::min(command, Seconds([&] { benchmark::DoNotOptimize(std::system(cp.c_str())); }));
                break;
            default:
                durable = std::min(durable, Seconds([&] {
                                       for (const std::wstring& name : media.names) {
                                           const std::wstring to = tw::platform::JoinPath(media.target, name);
                                           (void)tw::platform::CopyFileWithProgress(
                                               tw::platform::JoinPath(media.source, name), to, {}, nullptr);
                                           (void)tw::platform::FlushFile(to);
                                       }
                                   }));
                break;
            }
        }
        state.SetIterationTime(took);
        ++turn;
    }
    media.ClearTarget();
    const double megabytes = static_cast<double>(media.Bytes()) / (1024.0 * 1024.0);
    const double floor = std::min(platform, command);
    state.counters["engine_MBps"] = megabytes / engine;
    state.counters["platform_copy_MBps"] = megabytes / platform;
    state.counters["cp_MBps"] = megabytes / command;
    state.counters["of_floor"] = floor / engine;
    state.counters["durable_copy_MBps"] = megabytes / durable;
    state.counters["of_durable_floor"] = durable / engine;
    state.counters["heap_MB"] = heapMB;
    state.counters["peak_rss_MB"] = residentMB;
    state.counters["file_MB"] = static_cast<double>(fileMegabytes);
}
BENCHMARK(BM_CopyLargeFiles)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(6);

// Takes --files=N and --size-mb=N off the command line.
void TakeOwnOptions(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--files=", 8) == 0) {
            fileCount = std::strtoul(argv[i] + 8, nullptr, 10);
        } else if (std::strncmp(argv[i], "--size-mb=", 10) == 0) {
            fileMegabytes = std::strtoul(argv[i] + 10, nullptr, 10);
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    fileCount = std::max<size_t>(fileCount, 1);
    fileMegabytes = std::max<size_t>(fileMegabytes, 1);
}

} // namespace

int main(int argc, char** argv) {
    TakeOwnOptions(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
