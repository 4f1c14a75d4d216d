// libFuzzer entry of the zip extract target.
#include "zip_extract_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_zip_extract(data, size); }
