// make_manual: writes the manual page of zscan to standard output; the
// build runs it to make zscan.1.
#include "cli/manual_page.h"

#include <cstdio>

int main() {
    const std::string page = zscan::manual_page();
    return std::fwrite(page.data(), 1, page.size(), stdout) == page.size() ? 0 : 1;
}
