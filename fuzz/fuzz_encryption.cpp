// libFuzzer entry of the encryption target.
#include "encryption_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_encryption(data, size); }
