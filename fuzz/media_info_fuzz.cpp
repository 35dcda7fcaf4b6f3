// Arbitrary bytes as a container opened in the Media Info window: its whole object tree to a bounded depth with
// every item text, every object's item and references, and every entry's dump.
#include "container/media_info_items.h"
#include "container/toc_dump.h"
#include "fuzz_file.h"

#include <unordered_set>

namespace {

// Deep enough for every reference chain of a real file; the item budget bounds a file whose references fan out.
constexpr uint32_t kDepth = 8;
constexpr size_t kMaxItems = 20000;

// Looks at every line and keeps none: the dumps of every entry of a file add up to many rows.
class DiscardingConsole : public tw::Console {
public:
    void AppendLine(const std::wstring& text) override { characters += text.size(); }
    size_t characters = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DiscardingConsole console;
    tw::BentoContainer container(&console);
    if (container.Open(tw::fuzz::WriteInput(data, size)) == 0 || !container.CanQuery()) {
        return 0;
    }
    size_t items = 0;
    tw::WalkObjectTree(container, tw::bento::kTocObject, kDepth, [&](const tw::TreeLine& line) {
        console.characters += line.text->size();
        return ++items < kMaxItems;
    });
    std::unordered_set<uint32_t> objects;
    for (uint32_t i = 0; i < container.EntryCount(); ++i) {
        if (objects.insert(container.Entry(i)->objectId).second) {
            (void)tw::MakeObjectItem(container, container.Entry(i)->objectId);
        }
        (void)tw::ReferencedObjects(container, i + 1);
        tw::DumpTocEntry(container, i + 1, &console);
    }
    tw::DumpToc(container, &console);
    container.Close();
    return 0;
}
