// Placeholder until the Excel 97-2003 reader lands.
#include "read/readers.h"

int ozw_read_excel2003(XLS_BOOK *, const char *) { return -4; }
