#include "cli/cli_options.h"

#include <getopt.h>

namespace zscan {
namespace {

// Long-only options get codes beyond every character.
enum LongOnly { kNoExcel = 256, kNoRegex, kSaveSettings, kNoSettings, kOpen, kMaxHits, kVersion };

constexpr option kOptions[] = {
    {"words", required_argument, nullptr, 'w'},
    {"list", required_argument, nullptr, 'l'},
    {"names", required_argument, nullptr, 'n'},
    {"excel", no_argument, nullptr, 'x'},
    {"no-excel", no_argument, nullptr, kNoExcel},
    {"regex", no_argument, nullptr, 'e'},
    {"no-regex", no_argument, nullptr, kNoRegex},
    {"save-settings", no_argument, nullptr, kSaveSettings},
    {"no-settings", no_argument, nullptr, kNoSettings},
    {"output", required_argument, nullptr, 'o'},
    {"open", no_argument, nullptr, kOpen},
    {"jobs", required_argument, nullptr, 'j'},
    {"max-hits", required_argument, nullptr, kMaxHits},
    {"quiet", no_argument, nullptr, 'q'},
    {"no-messages", no_argument, nullptr, 's'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

// The leading ':' has a missing value reported apart from an unknown option.
constexpr const char *kShortOptions = ":w:l:n:xeo:j:qsh";

// A number from `low` to `high`, written in plain digits.
std::optional<int> number_within(const char *text, int low, int high) {
    long long number = 0;
    if (*text == '\0') return std::nullopt;
    for (const char *digit = text; *digit != '\0'; ++digit) {
        if (*digit < '0' || *digit > '9' || number > high) return std::nullopt;
        number = number * 10 + (*digit - '0');
    }
    if (number < low || number > high) return std::nullopt;
    return static_cast<int>(number);
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
        "below the current folder when no folder is given or saved.  Each hit is printed\n"
        "on standard output as one line: [book][sheet][cell] text.  The hits are also\n"
        "kept in the result file (or, with -x, the result book) named by -o, else\n"
        "Z-Scan検索結果.txt (Z-Scan検索結果.xlsx) in the temporary folder: TEMP when set,\n"
        "else zscan-UID under TMPDIR or /tmp.  A result book is saved under a name of\n"
        "its own and put in place at the end, so the last one stays whole until the new\n"
        "one is.  A second zscan writing the same result file at the same time is refused.\n"
        "\n"
        "Standard output carries nothing but hits.  Standard error tells each book or\n"
        "folder that could not be searched, as 'zscan: PATH: reason' (encrypted with a\n"
        "password, not a book this program reads, damaged, permission denied, path too\n"
        "long), then 'N books searched, M could not be read'; -s silences these.\n"
        "\n"
        "Settings not given here come from the user's settings file,\n"
        "$XDG_CONFIG_HOME/zscan/Z-Scan.ini (else ~/.config/zscan/Z-Scan.ini), or, when\n"
        "the user has none, from Z-Scan.ini beside the program.  A list file may be\n"
        "UTF-8, UTF-16LE or UTF-16BE with a byte-order mark, UTF-8 without one, or\n"
        "Shift-JIS (CP932).",
        {
            {"-w, --words TEXT", "search words, separated by blanks"},
            {"-l, --list FILE", "file of search words, separated by blanks, tabs or line ends; "
                                "- reads them from standard input"},
            {"-n, --names TEXT", "file-name keywords: only books whose name holds one"},
            {"-x, --excel", "write the hits to a result book (Excel output)"},
            {"    --no-excel", "write the hits to the text result file"},
            {"-e, --regex", "each search word is a regular expression matching a whole cell"},
            {"    --no-regex", "search words are found anywhere in a cell (the default)"},
            {"-o, --output FILE", "write the result to FILE instead: a result book when its name ends in "
                                  ".xlsx, else a text file"},
            {"    --max-hits N", "stop after N hits (default 10000; 0 for no limit, which a result book "
                                 "caps at 1048575)"},
            {"    --save-settings", "save these settings to the user's settings file"},
            {"    --no-settings", "read no settings file: only what the command line says"},
            {"    --open", "open the result in its viewer when done"},
            {"-j, --jobs N", "search N books at once (default: one per core); the hits come out "
                             "in the same order whatever N is"},
            {"-q, --quiet", "print neither hits nor progress; notices still go to standard error"},
            {"-s, --no-messages", "print no notice of books or folders that could not be searched"},
            {"-h, --help", "show this help"},
            {"    --version", "show the version"},
        },
        "0 hits found; 1 nothing found; 2 error (a bad option or folder, a result that cannot be "
        "written, standard output full); 3 the search stopped at the hit limit (the rest of the "
        "folder was not searched); 128+N stopped by signal N: 130 for Ctrl+C, 143 for SIGTERM, "
        "129 for SIGHUP.  Books that could not be read do not change the status; standard error "
        "names them.",
        "Ctrl+C, SIGTERM or SIGHUP stops the search: the books being read are finished, the result "
        "file or book keeps every hit found so far, and zscan says 'interrupted'.  A second Ctrl+C "
        "ends zscan at once, leaving the last result book as it was.",
        {
            {"zscan -w 東京 ~/books", "books below ~/books with a cell holding 東京"},
            {"zscan -xq -n REPORT -l words.txt", "the words of words.txt in the books named *REPORT* "
                                                  "below here, into a result book"},
            {"zscan -e -w '2016/3/\\d+' -- -archive", "cells that are a date in March 2016, below the "
                                                      "folder -archive"},
            {"zscan --no-settings --max-hits 0 -o hits.txt -w total /srv/share",
             "every cell holding total, into hits.txt, whatever the saved settings say"},
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
        case kNoSettings: options.no_settings = true; break;
        case 'o': options.output = optarg; break;
        case 'j':
            options.jobs = number_within(optarg, 1, 256);
            if (!options.jobs) {
                error = std::string("-j wants a number of books from 1 to 256, not '") + optarg + "'";
                return false;
            }
            break;
        case kMaxHits:
            options.max_hits = number_within(optarg, 0, kMaxHitsLimit);
            if (!options.max_hits) {
                error = std::string("--max-hits wants a number of hits from 0 (no limit) to ") +
                        std::to_string(kMaxHitsLimit) + ", not '" + optarg + "'";
                return false;
            }
            break;
        case 'q': options.quiet = true; break;
        case 's': options.no_messages = true; break;
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
