// libFuzzer entry for one reader: READER names it (one of the functions in fuzz_inputs.h).
#include "fuzz/fuzz_inputs.h"

#include <wx/init.h>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return wxInitialize(*argc, *argv) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    READER(data, size);
    return 0;
}
