// libFuzzer entry of the section file target.
#include "section_file_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_section_file(data, size); }
