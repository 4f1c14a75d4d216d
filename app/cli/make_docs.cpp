// make_docs: writes what is installed beside zscan, made from its help
// text: the manual page (make_docs man), or the shell completions
// (make_docs bash, make_docs zsh).
#include "cli/completion_scripts.h"
#include "cli/manual_page.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    const std::string what = argc == 2 ? argv[1] : "";
    std::string text;
    if (what == "man") text = zscan::manual_page();
    if (what == "bash") text = zscan::bash_completion();
    if (what == "zsh") text = zscan::zsh_completion();
    if (text.empty()) {
        std::fputs("usage: make_docs man|bash|zsh\n", stderr);
        return 2;
    }
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
