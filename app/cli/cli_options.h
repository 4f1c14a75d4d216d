// The command line of zscan: which settings to override and how to run.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zscan {

struct CliOptions {
    // Settings given on the command line; unset ones keep the saved value.
    std::optional<std::string> folder;
    std::optional<std::string> search_words;
    std::optional<std::string> list_file;
    std::optional<std::string> file_name_keywords;
    std::optional<bool> output_excel;
    std::optional<bool> regular_expression;

    bool save_settings = false;
    bool open_result = false;
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// Parses the arguments after the program name.  False with `error` set
// when an option is unknown or lacks its value, or more than one folder is
// given.
bool parse_cli_options(const std::vector<std::string> &arguments, CliOptions &options,
                       std::string &error);

// The text printed for --help.
const char *cli_usage();

}  // namespace zscan
