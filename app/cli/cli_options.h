// The command line of zscan: which settings to override and how to run,
// and the help text that describes it (printed by --help and made into the
// manual page).
#pragma once

#include "cli/hit_output.h"

#include <optional>
#include <string>
#include <vector>

namespace zscan {

// Largest number --max-hits takes.
constexpr int kMaxHitsLimit = 1000000000;

struct CliOptions {
    // Settings given on the command line; unset ones keep the saved value.
    std::optional<std::string> folder;
    std::optional<std::string> search_words;
    std::optional<std::string> list_file;
    std::optional<std::string> file_name_keywords;
    std::optional<bool> output_excel;
    std::optional<bool> regular_expression;
    std::optional<bool> ignore_case;
    std::optional<bool> fold_width;
    std::optional<bool> fold_kana;
    std::optional<bool> cells_only;
    // Formulas are tested as written; not a saved setting.
    bool formulas = false;

    // Books searched at once; unset means one per core.
    std::optional<int> jobs;
    // Hits kept at most, 0 for no limit; unset means the default limit.
    std::optional<int> max_hits;
    // The result file or book (told by its ending); unset means the one in
    // the temporary folder.
    std::optional<std::string> output;
    // A file of passwords, one a line, for encrypted books; never saved.
    std::optional<std::string> password_file;

    // What standard output carries.
    OutputMode output_mode = OutputMode::Lines;
    bool null_ends_paths = false;
    bool stats = false;

    bool save_settings = false;
    bool no_settings = false;
    bool open_result = false;
    bool quiet = false;
    bool no_messages = false;
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name as POSIX tools do: bundled
// short options (-xq), "--long" and "--long=value", and "--" before a
// folder that starts with "-".  False with `error` set when an option is
// unknown or lacks its value, or more than one folder is given.
bool parse_cli_options(const std::vector<std::string> &arguments, CliOptions &options,
                       std::string &error);

// What the help and the manual say, piece by piece.
struct HelpText {
    struct Row {
        std::string term;   // an option as written, or an example command
        std::string text;
    };
    struct Section {
        std::string name;   // the manual's section heading
        std::string text;   // paragraphs separated by empty lines
    };
    std::string synopsis;
    std::string description;        // lines ended by line feeds; --help and the manual
    std::vector<Section> sections;  // the manual alone: words, matching, limits, files...
    std::vector<Row> options;
    std::vector<Row> exit_statuses;
    std::vector<Row> examples;
};
const HelpText &help_text();

// "Usage: zscan [options] [FOLDER]" and its line end.
std::string cli_usage_line();
// The text printed for --help.
std::string cli_usage();

}  // namespace zscan
