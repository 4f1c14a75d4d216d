// libFuzzer entry of the compound file target.
#include "compound_file_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_compound_file(data, size); }
