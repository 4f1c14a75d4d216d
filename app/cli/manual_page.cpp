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

std::string section(const std::string &name) { return ".SH " + name + "\n"; }

// Paragraphs separated by empty lines, each its own.
std::string paragraphs(const std::string &text) {
    std::string out;
    size_t from = 0;
    for (size_t gap; (gap = text.find("\n\n", from)) != std::string::npos; from = gap + 2) {
        out += roff(text.substr(from, gap - from)) + "\n.PP\n";
    }
    return out + roff(text.substr(from)) + "\n";
}

std::string tagged(const std::vector<HelpText::Row> &rows) {
    std::string out;
    for (const HelpText::Row &row : rows) {
        // Long-only options are indented in the help's columns only.
        const size_t first = row.term.find_first_not_of(' ');
        out += ".TP\n.B " + roff(row.term.substr(first)) + "\n" + roff(row.text) + "\n";
    }
    return out;
}

}  // namespace

std::string manual_page() {
    const HelpText &help = help_text();
    std::string page = ".TH ZSCAN 1 2026-12-06 \"Z-Scan 1.0.0.0\" \"User Commands\"\n" + section("NAME") +
                       "zscan \\- search the cell texts of Excel books\n";
    page += section("SYNOPSIS") + ".B " + roff(help.synopsis) + "\n";
    page += section("DESCRIPTION") + paragraphs(help.description);
    page += section("OPTIONS") + tagged(help.options);
    for (const HelpText::Section &part : help.sections) page += section(part.name) + paragraphs(part.text);
    page += section("EXIT STATUS") + tagged(help.exit_statuses);
    page += section("EXAMPLES") + tagged(help.examples);
    return page;
}

}  // namespace zscan
