// libFuzzer entry of the arguments target.
#include "arguments_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_arguments(data, size); }
