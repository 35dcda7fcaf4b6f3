// Arbitrary bytes as the container of a large media file whose entries may claim any length: the input's
// label becomes the last 24 bytes of a 1 GiB memory-backed file, the rest of the input its first bytes, with
// a hole of zeros between that takes no memory. tools/fuzz.sh runs this target with a malloc limit far below
// the file's size, so a read sized by what an entry claims instead of by what its reader needs fails the run.
#include "container/bento_container.h"
#include "container/byte_view.h"
#include "container_exercise.h"
#include "fuzz_file.h"

namespace {

constexpr uint64_t kFileLength = uint64_t{1} << 30;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < tw::bento::kLabelSize) {
        return 0;
    }
    // The table of contents must lie in the bytes the input gives, as in a real media file whose damage is
    // in its entries; their values may then claim anything up to the whole file.
    const size_t head = size - tw::bento::kLabelSize;
    const tw::ByteView label(data + head, tw::bento::kLabelSize);
    const uint64_t tocEnd = uint64_t{*label.Le32(16)} + *label.Le32(20);
    if (tocEnd > head) {
        return 0;
    }
    tw::fuzz::ExerciseContainer(tw::fuzz::WriteInputSpread(data, size, tw::bento::kLabelSize, kFileLength));
    return 0;
}
