// Placeholder until the package reader lands.
#include "read/readers.h"

int ozw_read_excel2007(XLS_BOOK *, const char *) { return -4; }
int ozw_list_excel2007(XLS_BOOK *, const char *) { return -4; }
