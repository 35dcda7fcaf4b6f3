// The Media Info tree of a hostile container, as tarnwick-cli info --depth N walks it: twelve objects with names
// of 500 characters, each holding an id array of 65,535 elements that lead back to the twelve, and the TOC object
// leading to them through one more such array (6.3 MB in all). Every depth unfolds 65,535 children per reference
// and goes on without end, so the walk runs into its bounds. Reported: the peak of the heap while the container is
// open and walked, against the container's size (the target: under 64 MB at every depth), the lines handed out,
// and the time against the floor of building each child's text of one reference once.
#include "bench_util.h"
#include "container/bento_container.h"
#include "container/media_info_items.h"
#include "fixtures/file_io.h"
#include "heap_counter.h"
#include "samples/bento_writer.h"
#include "samples/byte_append.h"

#include <string>

namespace {

constexpr uint32_t kObjects = 12;
constexpr uint32_t kFirst = 0x20001;
constexpr uint16_t kElements = 0xFFFF;
constexpr uint32_t kNameProperty = 0x1029D;
constexpr uint32_t kChildrenProperty = 0x10400;

struct HostileContainer {
    tw::fixtures::ScratchDir dir{L"tw-info-walk-bench"};
    std::wstring path = dir / L"hostile.omf";
    uint64_t size = 0;
    HostileContainer() {
        tw::samples::BentoWriter w;
        w.PropertyName(kChildrenProperty, "OMFI:Children");
        tw::samples::Bytes elements;
        for (uint32_t k = 0; k < kElements; ++k) {
            tw::samples::PutLe32(elements, kFirst + k % kObjects);
            tw::samples::PutLe32(elements, 0);
        }
        const tw::samples::Bytes array = w.Array(kElements, elements);
        w.Stored(tw::bento::kTocObject, kChildrenProperty, tw::bento::kTypeIdArray, array);
        for (uint32_t i = 0; i < kObjects; ++i) {
            w.Text(kFirst + i, kNameProperty, std::string(500, static_cast<char>('a' + i)));
            w.Stored(kFirst + i, kChildrenProperty, tw::bento::kTypeIdArray, array);
        }
        const tw::samples::Bytes bytes = w.Build();
        size = bytes.size();
        tw::samples::WriteFile(path, bytes);
    }
};

const HostileContainer& TheContainer() {
    static const HostileContainer container;
    return container;
}

// The least any walk of depth 1 does: the text of each child of the TOC object's reference, once.
size_t Floor(tw::BentoContainer& container) {
    size_t characters = 0;
    const uint32_t entry = *container.FindProperty(tw::bento::kTocObject, kChildrenProperty);
    for (const uint32_t id : tw::ReferencedObjects(container, entry + 1)) {
        characters += tw::ObjectItemText(container, id).size();
    }
    return characters;
}

void BM_Floor_ChildTextsOnce(benchmark::State& state) {
    tw::BentoContainer container;
    (void)container.Open(TheContainer().path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Floor(container));
    }
}
BENCHMARK(BM_Floor_ChildTextsOnce)->Unit(benchmark::kMillisecond);

void BM_InfoWalk(benchmark::State& state) {
    const auto depth = static_cast<uint32_t>(state.range(0));
    const HostileContainer& file = TheContainer();
    double floor = 0;
    {
        tw::BentoContainer container;
        (void)container.Open(file.path);
        floor = tw::bench::BestSeconds([&] { benchmark::DoNotOptimize(Floor(container)); });
    }
    tw::bench::ManualTimer timer(state);
    uint64_t lines = 0;
    size_t peak = 0;
    tw::TreeWalkEnd end = tw::TreeWalkEnd::complete;
    for (auto _ : state) {
        tw::bench::ResetHeapPeak();
        const size_t before = tw::bench::HeapNow();
        lines = 0;
        timer.Iteration([&] {
            tw::BentoContainer container;
            (void)container.Open(file.path);
            std::wstring text; // as the command builds each line
            end = tw::WalkObjectTree(container, tw::bento::kTocObject, depth, [&](const tw::TreeLine& line) {
                text.assign(2 * line.level, L' ');
                text += *line.text;
                benchmark::DoNotOptimize(text.data());
                ++lines;
                return true;
            });
        });
        peak = tw::bench::HeapPeak() - before;
    }
    constexpr double kMB = 1024.0 * 1024.0;
    state.counters["input_MB"] = static_cast<double>(file.size) / kMB;
    state.counters["peak_MB"] = static_cast<double>(peak) / kMB;
    state.counters["peak_x_input"] = static_cast<double>(peak) / static_cast<double>(file.size);
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["at_bound"] = end == tw::TreeWalkEnd::lineBound ? 1 : end == tw::TreeWalkEnd::memoryBound ? 2 : 0;
    state.counters["floor_ms"] = floor * 1000.0;
    state.counters["x_floor"] = timer.Best() / floor;
}
BENCHMARK(BM_InfoWalk)->Arg(1)->Arg(2)->Arg(3)->Arg(50)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
