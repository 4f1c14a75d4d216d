// libFuzzer entry of the biff target.
#include "biff_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_biff(data, size); }
