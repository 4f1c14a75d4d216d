// libFuzzer entry of the xlsx package target.
#include "xlsx_package_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_xlsx_package(data, size); }
