// The libFuzzer entry of a fuzz executable: the one target linked with it.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_target.h"

namespace {

const cFuzzTarget& Target() {
    static const cFuzzTarget& target = [&]() -> const cFuzzTarget& {
        if (FuzzTargets().size() != 1) {
            std::fprintf(stderr, "tovaro fuzz: %zu targets linked, one expected\n", FuzzTargets().size());
            std::abort();
        }
        return *FuzzTargets().front();
    }();
    return target;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (Target().pfnInit) Target().pfnInit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Target().pfnRun(data, size);
    return 0;
}
