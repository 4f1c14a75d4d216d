#include "cli/cli_options.h"

#include <string_view>

namespace zscan {
namespace {

struct TextOption {
    char short_name;
    std::string_view long_name;
    std::optional<std::string> CliOptions::*field;
};

constexpr TextOption kTextOptions[] = {
    {'w', "words", &CliOptions::search_words},
    {'l', "list", &CliOptions::list_file},
    {'n', "names", &CliOptions::file_name_keywords},
};

struct FlagOption {
    char short_name;   // 0: long form only
    std::string_view long_name;
    void (*apply)(CliOptions &);
};

constexpr FlagOption kFlagOptions[] = {
    {'x', "excel", [](CliOptions &o) { o.output_excel = true; }},
    {0, "no-excel", [](CliOptions &o) { o.output_excel = false; }},
    {'e', "regex", [](CliOptions &o) { o.regular_expression = true; }},
    {0, "no-regex", [](CliOptions &o) { o.regular_expression = false; }},
    {0, "save-settings", [](CliOptions &o) { o.save_settings = true; }},
    {0, "open", [](CliOptions &o) { o.open_result = true; }},
    {'q', "quiet", [](CliOptions &o) { o.quiet = true; }},
    {'h', "help", [](CliOptions &o) { o.help = true; }},
    {0, "version", [](CliOptions &o) { o.version = true; }},
};

// Whether `argument` names the option: "-c" or "--long".  For text
// options "--long=value" names it too; the value is then set.
bool names_option(std::string_view argument, char short_name, std::string_view long_name,
                  std::optional<std::string_view> *inline_value) {
    if (short_name != 0 && argument.size() == 2 && argument[0] == '-' && argument[1] == short_name)
        return true;
    if (!argument.starts_with("--")) return false;
    const std::string_view rest = argument.substr(2);
    if (rest == long_name) return true;
    if (inline_value != nullptr && rest.starts_with(long_name) && rest.size() > long_name.size() &&
        rest[long_name.size()] == '=') {
        *inline_value = rest.substr(long_name.size() + 1);
        return true;
    }
    return false;
}

}  // namespace

bool parse_cli_options(const std::vector<std::string> &arguments, CliOptions &options,
                       std::string &error) {
    bool options_ended = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        const bool is_option = !options_ended && argument.size() > 1 && argument[0] == '-';
        if (!is_option) {
            if (options.folder) {
                error = "more than one folder given: " + argument;
                return false;
            }
            options.folder = argument;
            continue;
        }
        if (argument == "--") {
            options_ended = true;
            continue;
        }

        bool known = false;
        for (const TextOption &option : kTextOptions) {
            std::optional<std::string_view> inline_value;
            if (!names_option(argument, option.short_name, option.long_name, &inline_value)) continue;
            if (inline_value) {
                options.*option.field = std::string(*inline_value);
            } else if (i + 1 < arguments.size()) {
                options.*option.field = arguments[++i];
            } else {
                error = "option " + argument + " needs a value";
                return false;
            }
            known = true;
            break;
        }
        for (const FlagOption &option : kFlagOptions) {
            if (known) break;
            if (!names_option(argument, option.short_name, option.long_name, nullptr)) continue;
            option.apply(options);
            known = true;
        }
        if (!known) {
            error = "unknown option: " + argument;
            return false;
        }
    }
    return true;
}

const char *cli_usage() {
    return "Usage: zscan [options] [FOLDER]\n"
           "Searches the cell texts of the Excel books (.xls, .xlsx, .xlsm) below FOLDER.\n"
           "Settings not given here come from Z-Scan.ini beside the program.\n"
           "\n"
           "  -w, --words TEXT     search words, separated by blanks\n"
           "  -l, --list FILE      file of search words, separated by blanks, tabs or line ends\n"
           "  -n, --names TEXT     file-name keywords: only books whose name holds one\n"
           "  -x, --excel          write the hits to a result book (Excel output)\n"
           "      --no-excel       write the hits to the text result file\n"
           "  -e, --regex          each search word is a regular expression matching a whole cell\n"
           "      --no-regex       search words are found anywhere in a cell (the default)\n"
           "      --save-settings  save these settings to Z-Scan.ini\n"
           "      --open           open the result in its viewer when done\n"
           "  -q, --quiet          print neither hits, progress nor notices\n"
           "  -h, --help           show this help\n"
           "      --version        show the version\n"
           "\n"
           "Exit status: 0 hits found, 1 nothing found, 2 error.\n"
           "Ctrl+C stops the search before the next file; the hits found so far are kept.\n";
}

}  // namespace zscan
