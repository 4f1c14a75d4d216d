#include "cli/manual_page.h"

#include "cli/cli_options.h"

namespace zscan {
namespace {

// Text made safe for roff: backslashes and minus signs escaped, and no
// line starting with a control character.
std::string roff(const std::string &text) {
    std::string out;
    bool line_start = true;
    for (char c : text) {
        if (line_start && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
        line_start = c == '\n';
    }
    return out;
}

std::string section(const char *name) { return std::string(".SH ") + name + "\n"; }

}  // namespace

std::string manual_page() {
    const HelpText &help = help_text();
    std::string page = ".TH ZSCAN 1\n" + section("NAME") + "zscan \\- search the cell texts of Excel books\n";
    page += section("SYNOPSIS") + ".B " + roff(help.synopsis) + "\n";
    page += section("DESCRIPTION") + roff(help.description) + "\n.PP\n" + roff(help.notes) + "\n";
    page += section("OPTIONS");
    for (const HelpText::Row &row : help.options) {
        // Long-only options are indented in the help's columns only.
        const size_t first = row.term.find_first_not_of(' ');
        page += ".TP\n.B " + roff(row.term.substr(first)) + "\n" + roff(row.text) + "\n";
    }
    page += section("EXIT STATUS") + roff(help.exit_status) + "\n";
    page += section("EXAMPLES");
    for (const HelpText::Row &row : help.examples) {
        page += ".TP\n.B " + roff(row.term) + "\n" + roff(row.text) + "\n";
    }
    return page;
}

}  // namespace zscan
