#include "cli/cli_options.h"

#include <getopt.h>

namespace zscan {
namespace {

// Long-only options get codes beyond every character.
enum LongOnly {
    kNoExcel = 256, kNoRegex, kSaveSettings, kNoSettings, kOpen, kMaxHits, kVersion,
    kJson, kFilesWithHits, kFilesWithoutHits, kStats,
    kNoIgnoreCase, kFoldWidth, kNoFoldWidth, kFoldKana, kNoFoldKana,
    kCellsOnly, kNoCellsOnly, kFormulas, kPasswordFile,
};

constexpr option kOptions[] = {
    {"words", required_argument, nullptr, 'w'},
    {"list", required_argument, nullptr, 'l'},
    {"names", required_argument, nullptr, 'n'},
    {"excel", no_argument, nullptr, 'x'},
    {"no-excel", no_argument, nullptr, kNoExcel},
    {"regex", no_argument, nullptr, 'e'},
    {"no-regex", no_argument, nullptr, kNoRegex},
    {"ignore-case", no_argument, nullptr, 'i'},
    {"no-ignore-case", no_argument, nullptr, kNoIgnoreCase},
    {"fold-width", no_argument, nullptr, kFoldWidth},
    {"no-fold-width", no_argument, nullptr, kNoFoldWidth},
    {"fold-kana", no_argument, nullptr, kFoldKana},
    {"no-fold-kana", no_argument, nullptr, kNoFoldKana},
    {"cells-only", no_argument, nullptr, kCellsOnly},
    {"no-cells-only", no_argument, nullptr, kNoCellsOnly},
    {"formulas", no_argument, nullptr, kFormulas},
    {"save-settings", no_argument, nullptr, kSaveSettings},
    {"no-settings", no_argument, nullptr, kNoSettings},
    {"output", required_argument, nullptr, 'o'},
    {"open", no_argument, nullptr, kOpen},
    {"jobs", required_argument, nullptr, 'j'},
    {"max-hits", required_argument, nullptr, kMaxHits},
    {"password-file", required_argument, nullptr, kPasswordFile},
    {"json", no_argument, nullptr, kJson},
    {"count", no_argument, nullptr, 'c'},
    {"files-with-hits", no_argument, nullptr, kFilesWithHits},
    {"files-without-hits", no_argument, nullptr, kFilesWithoutHits},
    {"null", no_argument, nullptr, '0'},
    {"stats", no_argument, nullptr, kStats},
    {"quiet", no_argument, nullptr, 'q'},
    {"no-messages", no_argument, nullptr, 's'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

// The leading ':' has a missing value reported apart from an unknown option.
constexpr const char *kShortOptions = ":w:l:n:xeio:j:c0qsh";

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
        "Searches the cell texts, comments and shapes of the Excel books (.xls, .xlsx,\n"
        ".xlsm) below FOLDER, or below the current folder when no folder is given or\n"
        "saved, and prints each hit on standard output as one line: [book][sheet][cell]\n"
        "text.  The hits are also kept in the result file.  Books or folders that cannot\n"
        "be searched are named on standard error.",
        {
            {"WORDS",
             "The search words are separated by blanks (spaces, tabs, line ends).  A phrase "
             "between double quotes is one word holding its blanks: -w '\"New York\" 東京' "
             "searches for New York and for 東京.  Inside a phrase, \"\" stands for one "
             "double quote.  An equals sign is a word of its own; an apostrophe is a letter "
             "like any other.  Typed words are also separated by full-width spaces; the words "
             "of a list file are not.  A cell is a hit when it holds any one of the words; it "
             "counts once however many it holds.  File-name keywords (-n) are split the same "
             "way; a book is searched when its name holds one of them, in any letter case of "
             "a to z, and only the first ten count.\n\n"
             "A word is at most 4000 bytes long; a longer one is an error, typed or in a list "
             "file.  A list file (-l FILE, or -l - for standard input) may be UTF-8, UTF-16LE "
             "or UTF-16BE with a byte-order mark, UTF-8 without one, or Shift-JIS (CP932)."},
            {"MATCHING",
             "By default a word is found anywhere in a cell's text, byte for byte: letter case "
             "matters, and 東京 finds 東京タワー.  With -e each word is a regular expression that "
             "must match the whole text of a cell: abc finds the cell abc alone, .*abc.* finds "
             "xabcx.  Expressions are written in the ECMAScript (JavaScript) grammar and run "
             "by PCRE2; \\s also takes the ideographic space.  Syntax that only PCRE knows "
             "(inline options, possessive quantifiers, \\A \\Z \\K and the like) is refused, "
             "and an expression that is not valid stops the search before it starts.  An "
             "expression that runs into its work limits on a cell counts as no match there.\n\n"
             "-i, --fold-width and --fold-kana make a word match text written another way: "
             "letter case beyond ASCII (full-width Latin, Greek, Cyrillic), full-width and "
             "half-width forms (ＡＢＣ and ABC, ｶﾞｲﾄﾞ and ガイド, the ideographic space and a space), "
             "hiragana and katakana.  Each folds only its own part; the words and each text are "
             "folded alike, by tables made from the Unicode Character Database.  With -e, -i "
             "makes the expression caseless, and the width and kana folds apply to the text and "
             "to the expression's characters beyond ASCII.  A hit shows the cell text as the "
             "book holds it.  The folds are saved with the other settings."},
            {"NUMBERS AND DATES",
             "A text cell is found by its text.  A number is found by its display text, the "
             "library's formatting, and also by what a spreadsheet program in the Japanese "
             "locale shows under its number format, whatever the column width.  A date is also "
             "found as 2016/3/25 (no leading zeros), and a date with a time as "
             "2016/3/25 14:05.  One of these matching makes one hit, shown with the display "
             "text when that matched, else the shown text.  Numbers in the General format "
             "have no shown text of their own, and [DBNum1] to [DBNum3] kanji numerals show "
             "as plain digits."},
            {"COMMENTS, SHAPES AND FORMULAS",
             "Besides the cells, zscan searches the texts users write next to them: notes "
             "(comments), threaded comments, and the texts of shapes and text boxes, grouped "
             "ones too, and of shapes drawn over a chart, in .xlsx, .xlsm and .xls books; "
             "--cells-only leaves them out.  A threaded comment counts once, not again as the "
             "copy kept for older programs.  A shape's text is its paragraphs joined by line "
             "feeds.  Such a hit is placed at a cell, the comment's own or the one under the "
             "shape's top-left corner (a chart's for the shapes over it, A1 on a chart sheet), "
             "followed by what holds the text and a shape's name: [B3 コメント], "
             "[B3 スレッドコメント], [D10 図形 \"角丸四角形 3\"], "
             "[D10 テキストボックス \"TextBox 1\"], [D10 グラフ図形 \"Rectangle 2\"]; a shape "
             "without a name has none.  With --formulas each formula cell of an .xlsx or .xlsm "
             "book is also tested by its formula as written, =VLOOKUP(A1,B:C,2,FALSE), placed "
             "as [C5 数式]; a formula shared by a range of cells is written in its first cell "
             "alone, and the formulas of .xls books are not tested.  The result book's cell "
             "name column says the same, and its link goes to the cell; a JSON record's place "
             "holds \"holder\" (formula, comment, threaded_comment, shape, text_box, "
             "chart_shape) and a shape's \"name\" beside \"cell\"."},
            {"LIMITS",
             "A search stops after 10000 hits and says so; --max-hits N sets the limit, 0 for "
             "none (a result book holds at most 1048575).  The rest of the folder is then not "
             "searched and zscan exits with status 3.  Paths may be as long as the system "
             "allows (PATH_MAX); a deeper folder is named as \"path too long\".  A typed "
             "text (the words, the file-name keywords) is at most 4000 bytes."},
            {"STANDARD ERROR",
             "Each book or folder that could not be searched is named as it is met, "
             "'zscan: PATH: reason', the reason being one of: encrypted with a password; not "
             "a book this program reads; damaged, with what failed; permission denied; path "
             "too long; or the system's own words.  At the end, when any was named: 'zscan: N "
             "books searched, M could not be read'.  -s silences these; -q does not.  On a "
             "terminal, a search running longer than about a second shows one updating line "
             "of progress there, never on a pipe or a file."},
            {"ENCRYPTED BOOKS",
             "A book encrypted with Excel's default password (VelvetSweatshop, which Excel uses "
             "for a book whose structure is protected) is searched like any other.  "
             "--password-file FILE names a file of passwords, one a line in UTF-8: each is "
             "tried on every encrypted book after the default one.  The passwords are never "
             "written anywhere, neither in messages nor in the settings file.  A book none of "
             "them opens is named as encrypted with a password.  Excel 97-2003 books "
             "encrypted with RC4 or RC4 CryptoAPI and Excel 2007 books under standard or "
             "agile encryption are read."},
            {"OUTPUT FOR SCRIPTS",
             "--json writes one JSON object per line (JSON Lines).  Each hit: {\"type\":\"hit\", "
             "\"path\", \"sheet\", \"place\":{\"cell\":\"B3\"}, \"text\", \"matched\", \"kind\"}, where "
             "matched tells which text of the cell a word was found in (display, shown or date) "
             "and kind is xlsx, xlsm or xls.  A line feed inside a text is written as \\n, so a "
             "record is always one line.  Last comes {\"type\":\"summary\", \"books_searched\", "
             "\"not_searched\":[{\"path\", \"folder\", \"reason\", \"detail\"}], \"hits\", \"end\" "
             "(complete, interrupted or hit_limit), \"complete\" (true when the search ended "
             "by itself and every book was read), \"elapsed_seconds\", \"result\"}.  A path or "
             "text that is not valid UTF-8 is written with U+FFFD in place of each stray byte, "
             "and its exact bytes beside it in base64 under the same name with _base64 "
             "appended (\"path_base64\").\n\n"
             "-c writes path:count for each book with hits; --files-with-hits and "
             "--files-without-hits write one path per line, or with -0 each ended by a NUL.  "
             "The result file or book is written in every form."},
            {"FILES",
             "$XDG_CONFIG_HOME/zscan/Z-Scan.ini, else ~/.config/zscan/Z-Scan.ini: the user's "
             "settings (folder, words, file-name keywords, list file, -x and -e), read before "
             "the command line and written by --save-settings.  When the user has none, "
             "Z-Scan.ini beside the program is read instead.  --no-settings reads neither.\n\n"
             "The result: the file named by -o, else Z-Scan検索結果.txt (text output) or "
             "Z-Scan検索結果.xlsx (-x) in the temporary folder.  The text result holds the hit "
             "lines; the result book a row per hit (cell text, cell name, sheet name, path), "
             "each text exactly as found, linked to the book's cell and to its folder.  A "
             "result book is saved under a name of its own and put in place at the end, so "
             "the last one stays whole until the new one is.  A second zscan writing the same "
             "result at the same time is refused, naming the first; -o gives it its own."},
            {"ENVIRONMENT",
             "TEMP: the temporary folder, when set.  TMPDIR: otherwise the temporary folder is "
             "zscan-UID below it (else below /tmp), a folder of the user's own; zscan refuses "
             "to run when that name is a link, belongs to another user or is open to others.  "
             "XDG_CONFIG_HOME, HOME: where the user's settings are."},
        },
        {
            {"-w, --words TEXT", "search words and \"phrases\", separated by blanks"},
            {"-l, --list FILE", "file of search words; - reads them from standard input"},
            {"-n, --names TEXT", "file-name keywords: only books whose name holds one"},
            {"-e, --regex", "each word is a regular expression matching a whole cell"},
            {"    --no-regex", "words are found anywhere in a cell (the default)"},
            {"-i, --ignore-case", "letter case does not matter, beyond ASCII too (ＡＢＣ, Αβγ)"},
            {"    --no-ignore-case", "letter case matters (the default)"},
            {"    --fold-width", "full-width and half-width forms match each other (ＡＢＣ and ABC, ｶﾞ and ガ)"},
            {"    --no-fold-width", "they do not (the default)"},
            {"    --fold-kana", "hiragana and katakana match each other (がいど and ガイド)"},
            {"    --no-fold-kana", "they do not (the default)"},
            {"    --cells-only", "search the cells alone, not comments, shapes and text boxes"},
            {"    --no-cells-only", "search comments, shapes and text boxes too (the default)"},
            {"    --formulas", "also test each cell's formula as written (=VLOOKUP(...))"},
            {"-x, --excel", "keep the hits in a result book instead of a text file"},
            {"    --no-excel", "keep the hits in the text result file"},
            {"-o, --output FILE", "the result file: a result book when its name ends in .xlsx"},
            {"    --json", "write JSON Lines: an object per hit, then a summary object"},
            {"-c, --count", "write path:hits for each book with hits"},
            {"    --files-with-hits", "write the path of each book with hits"},
            {"    --files-without-hits", "write the path of each book searched without a hit"},
            {"-0, --null", "end each path of the two file lists with a NUL, for xargs -0"},
            {"    --max-hits N", "stop after N hits (default 10000; 0 for no limit)"},
            {"    --password-file FILE", "try each line of FILE as the password of every encrypted book"},
            {"-j, --jobs N", "search N books at once (default: one per core), reading further books "
                             "ahead within a memory budget; the output is the same whatever N is"},
            {"    --save-settings", "save these settings to the user's settings file"},
            {"    --no-settings", "read no settings file: only what the command line says"},
            {"    --open", "open the result in its viewer when done"},
            {"-q, --quiet", "write nothing on standard output and no progress line"},
            {"-s, --no-messages", "name no book or folder that could not be searched"},
            {"    --stats", "write a summary line on standard error at the end"},
            {"-h, --help", "show this help"},
            {"    --version", "show the version"},
        },
        {
            {"0", "hits were found"},
            {"1", "nothing was found"},
            {"2", "error: a bad option, folder or list file, a result or standard output that "
                  "cannot be written, another zscan writing the same result"},
            {"3", "the search stopped at the hit limit; the rest was not searched"},
            {"128+N", "stopped by signal N (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP): the books being "
                      "read were finished, the result keeps what was found"},
        },
        {
            {"zscan -w 東京 ~/books", "books below ~/books with a cell holding 東京"},
            {"zscan -w '\"New York\" 2016/3/25' -n REPORT /srv/share",
             "the phrase New York or the date, in books named *REPORT*"},
            {"zscan -xq -l words.txt", "the words of words.txt below here, into a result book"},
            {"zscan -e -w '2016/3/\\d+' -- -archive", "cells that are a date in March 2016, below the "
                                                      "folder -archive"},
            {"zscan --json --no-settings -w total /srv/share | jq -r 'select(.type==\"hit\") | .path'",
             "the path of each hit, for a script, whatever the saved settings say"},
            {"zscan --files-with-hits -0 -w 東京 ~/books | xargs -0 cp -t ~/found",
             "copy every book that holds 東京"},
            {"zscan -c --max-hits 0 -w error logs", "hits per book, none left out"},
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
        case 'i': options.ignore_case = true; break;
        case kNoIgnoreCase: options.ignore_case = false; break;
        case kFoldWidth: options.fold_width = true; break;
        case kNoFoldWidth: options.fold_width = false; break;
        case kFoldKana: options.fold_kana = true; break;
        case kNoFoldKana: options.fold_kana = false; break;
        case kCellsOnly: options.cells_only = true; break;
        case kNoCellsOnly: options.cells_only = false; break;
        case kFormulas: options.formulas = true; break;
        case kSaveSettings: options.save_settings = true; break;
        case kOpen: options.open_result = true; break;
        case kNoSettings: options.no_settings = true; break;
        case 'o': options.output = optarg; break;
        case kPasswordFile: options.password_file = optarg; break;
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
        case kJson: options.output_mode = OutputMode::Json; break;
        case 'c': options.output_mode = OutputMode::Count; break;
        case kFilesWithHits: options.output_mode = OutputMode::FilesWithHits; break;
        case kFilesWithoutHits: options.output_mode = OutputMode::FilesWithoutHits; break;
        case '0': options.null_ends_paths = true; break;
        case kStats: options.stats = true; break;
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
        usage += "  " + row.term + std::string(row.term.size() < 24 ? 24 - row.term.size() : 1, ' ') +
                 row.text + "\n";
    }
    usage += "\nExit status:";
    for (const HelpText::Row &row : text.exit_statuses) usage += " " + row.term + " " + row.text + ";";
    usage.back() = '.';
    usage += "\n\nExamples:\n";
    for (const HelpText::Row &row : text.examples) usage += "  " + row.term + "\n      " + row.text + "\n";
    usage += "\nThe manual (man zscan) tells what a word is, how numbers and dates are found, the\n"
             "expression grammar, the limits, the files and the environment.\n";
    return usage;
}

}  // namespace zscan
