#include "cli/cli_options.h"

#include <getopt.h>

namespace zscan {
namespace {

// Long-only options get codes beyond every character.
enum LongOnly { kNoExcel = 256, kNoRegex, kSaveSettings, kOpen, kVersion };

constexpr option kOptions[] = {
    {"words", required_argument, nullptr, 'w'},
    {"list", required_argument, nullptr, 'l'},
    {"names", required_argument, nullptr, 'n'},
    {"excel", no_argument, nullptr, 'x'},
    {"no-excel", no_argument, nullptr, kNoExcel},
    {"regex", no_argument, nullptr, 'e'},
    {"no-regex", no_argument, nullptr, kNoRegex},
    {"save-settings", no_argument, nullptr, kSaveSettings},
    {"open", no_argument, nullptr, kOpen},
    {"jobs", required_argument, nullptr, 'j'},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

// The leading ':' has a missing value reported apart from an unknown option.
constexpr const char *kShortOptions = ":w:l:n:xej:qh";

// A number of books from 1 to 256, written in plain digits.
std::optional<int> job_count(const char *text) {
    int count = 0;
    for (const char *digit = text; *digit != '\0'; ++digit) {
        if (*digit < '0' || *digit > '9' || count > 256) return std::nullopt;
        count = count * 10 + (*digit - '0');
    }
    if (count < 1 || count > 256) return std::nullopt;
    return count;
}

// How the option getopt_long just refused was written.
std::string refused_option(char **argv) {
    if (optopt > 0 && optopt < kNoExcel) return std::string("-") + static_cast<char>(optopt);
    return argv[optind - 1];
}

}  // namespace

const HelpText &help_text() {
    static const HelpText text{
        "zscan [options] [FOLDER]",
        "Searches the cell texts of the Excel books (.xls, .xlsx, .xlsm) below FOLDER, or\n"
        "below the current folder when no folder is given or saved.  Settings not given\n"
        "here come from Z-Scan.ini beside the program.  Each hit is printed on standard\n"
        "output as one line: [book][sheet][cell] text.",
        {
            {"-w, --words TEXT", "search words, separated by blanks"},
            {"-l, --list FILE", "file of search words, separated by blanks, tabs or line ends"},
            {"-n, --names TEXT", "file-name keywords: only books whose name holds one"},
            {"-x, --excel", "write the hits to a result book (Excel output)"},
            {"    --no-excel", "write the hits to the text result file"},
            {"-e, --regex", "each search word is a regular expression matching a whole cell"},
            {"    --no-regex", "search words are found anywhere in a cell (the default)"},
            {"    --save-settings", "save these settings to Z-Scan.ini"},
            {"    --open", "open the result in its viewer when done"},
            {"-j, --jobs N", "search N books at once (default: one per core); the hits come out "
                             "in the same order whatever N is"},
            {"-q, --quiet", "print neither hits, progress nor notices"},
            {"-h, --help", "show this help"},
            {"    --version", "show the version"},
        },
        "0 hits found, 1 nothing found, 2 error.",
        "Ctrl+C stops the search before the next file; the hits found so far are kept.",
        {
            {"zscan -w 東京 ~/books", "books below ~/books with a cell holding 東京"},
            {"zscan -xq -n REPORT -l words.txt", "the words of words.txt in the books named *REPORT* "
                                                  "below here, into a result book"},
            {"zscan -e -w '2016/3/\\d+' -- -archive", "cells that are a date in March 2016, below the "
                                                      "folder -archive"},
        },
    };
    return text;
}

bool parse_cli_options(const std::vector<std::string> &arguments, CliOptions &options,
                       std::string &error) {
    std::vector<std::string> words{"zscan"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (std::string &word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    optind = 0;   // a fresh scan
    opterr = 0;   // the caller reports
    for (int code; (code = getopt_long(argc, argv.data(), kShortOptions, kOptions, nullptr)) != -1;) {
        switch (code) {
        case 'w': options.search_words = optarg; break;
        case 'l': options.list_file = optarg; break;
        case 'n': options.file_name_keywords = optarg; break;
        case 'x': options.output_excel = true; break;
        case kNoExcel: options.output_excel = false; break;
        case 'e': options.regular_expression = true; break;
        case kNoRegex: options.regular_expression = false; break;
        case kSaveSettings: options.save_settings = true; break;
        case kOpen: options.open_result = true; break;
        case 'j':
            options.jobs = job_count(optarg);
            if (!options.jobs) {
                error = std::string("-j wants a number of books from 1 to 256, not '") + optarg + "'";
                return false;
            }
            break;
        case 'q': options.quiet = true; break;
        case 'h': options.help = true; break;
        case kVersion: options.version = true; break;
        case ':':
            error = "option " + refused_option(argv.data()) + " needs a value";
            return false;
        default:
            error = "unknown option: " + refused_option(argv.data());
            return false;
        }
    }
    for (int i = optind; i < argc; ++i) {
        if (options.folder) {
            error = std::string("more than one folder given: ") + argv[static_cast<size_t>(i)];
            return false;
        }
        options.folder = argv[static_cast<size_t>(i)];
    }
    return true;
}

std::string cli_usage_line() { return "Usage: " + help_text().synopsis + "\n"; }

std::string cli_usage() {
    const HelpText &text = help_text();
    std::string usage = cli_usage_line() + text.description + "\n\n";
    for (const HelpText::Row &row : text.options) {
        usage += "  " + row.term + std::string(row.term.size() < 22 ? 22 - row.term.size() : 1, ' ') +
                 row.text + "\n";
    }
    usage += "\nExit status: " + text.exit_status + "\n" + text.notes + "\n\nExamples:\n";
    for (const HelpText::Row &row : text.examples) usage += "  " + row.term + "\n      " + row.text + "\n";
    return usage;
}

}  // namespace zscan
