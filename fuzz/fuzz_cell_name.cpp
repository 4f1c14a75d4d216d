// libFuzzer entry of the cell name target.
#include "cell_name_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_cell_name(data, size); }
