// libFuzzer entry of the book cells target.
#include "book_cells_target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) { return fuzz::run_book_cells(data, size); }
