// libFuzzer entry of the file type target.
#include "file_type_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_file_type(data, size); }
