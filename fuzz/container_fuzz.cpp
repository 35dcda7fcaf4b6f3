// Arbitrary bytes as a container: opened, then every query, the TOC lines and the property walks run on it.
#include "container_exercise.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tw::fuzz::ExerciseContainer(tw::fuzz::WriteInput(data, size));
    return 0;
}
