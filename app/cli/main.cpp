// zscan: searches the cell texts of the Excel books below a folder.
#include "cli/cli_options.h"
#include "cli/terminal_front_end.h"
#include "engine/search_context.h"
#include "engine/search_run.h"
#include "engine/settings_file.h"
#include "platform/platform.h"

#include <cstdio>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace zscan;

constexpr int kExitFound = 0;
constexpr int kExitNothingFound = 1;
constexpr int kExitError = 2;

std::string working_folder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

// "samples/" and "samples" name the same folder; without the trailing
// separator the paths of the hits read "samples/book.xlsx".
std::string without_trailing_separators(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

void apply_options(const CliOptions &options, FieldValues &fields) {
    if (options.folder) fields.target_folder = without_trailing_separators(*options.folder);
    if (options.search_words) fields.search_words = *options.search_words;
    if (options.list_file) fields.list_file_path = *options.list_file;
    if (options.file_name_keywords) fields.file_name_keywords = *options.file_name_keywords;
    if (options.output_excel) fields.output_excel = *options.output_excel;
    if (options.regular_expression) fields.regular_expression = *options.regular_expression;
}

int exit_status(SearchOutcome outcome) {
    switch (outcome) {
    case SearchOutcome::Found:
    case SearchOutcome::Declined:
        return kExitFound;
    case SearchOutcome::NothingFound:
        return kExitNothingFound;
    case SearchOutcome::Failed:
        break;
    }
    return kExitError;
}

}  // namespace

int main(int argc, char **argv) {
    CliOptions options;
    std::string error;
    if (!parse_cli_options(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "zscan: %s\n%sTry 'zscan --help'.\n", error.c_str(), cli_usage_line().c_str());
        return kExitError;
    }
    if (options.help) {
        std::fputs(cli_usage().c_str(), stdout);
        return kExitFound;
    }
    // Everything zscan writes (result files, extracted parts, logs) is for
    // the user alone.
    umask(S_IRWXG | S_IRWXO);
    if (options.version) {
        std::puts("Z-Scan 1.0.0.0");
        return kExitFound;
    }

    SearchContext context;
    init_search_context(context);
    if (context.temp_folder.empty()) {
        std::fprintf(stderr, "zscan: no private temporary folder: zscan-%u under TMPDIR or /tmp is a link, "
                             "belongs to another user or is open to others; remove it or set TEMP\n",
                     static_cast<unsigned>(geteuid()));
        return kExitError;
    }
    // Books named by a relative path are linked from the folder they were
    // found from.
    context.link_base_folder = working_folder();
    const std::string settings_path = settings_file_path(context);
    load_settings(context, settings_path);

    FieldValues fields = shown_fields(context);
    apply_options(options, fields);
    if (!take_fields(context, fields)) {
        std::fprintf(stderr, "zscan: a path is longer than %zu bytes or a text longer than %zu bytes\n",
                     kPathMax, kWordsTextMax);
        return kExitError;
    }
    // A mistyped folder would only end in "nothing found"; say so instead.
    if (options.folder && !zplat::is_directory(context.target_folder.c_str())) {
        std::fprintf(stderr, "zscan: not a folder: %s\n", context.target_folder.c_str());
        return kExitError;
    }
    if (options.save_settings) {
        if (save_settings(context, settings_path) != 0) {
            std::fprintf(stderr, "zscan: cannot write %s\n", settings_path.c_str());
            return kExitError;
        }
        if (context.search_words_text.empty() && context.list_file_path.empty()) return kExitFound;
    }

    // At a prompt no folder means the folder the user is in, as for grep -r;
    // walking the whole file system is never what was meant.  The saved
    // settings keep the empty folder.
    if (context.target_folder.empty()) context.target_folder = std::string(".");

    const unsigned cores = std::thread::hardware_concurrency();
    context.jobs = options.jobs ? *options.jobs : cores > 0 ? static_cast<int>(cores) : 1;
    TerminalFrontEnd front_end(options.quiet, options.open_result);
    TerminalFrontEnd::catch_interrupt();
    const SearchOutcome outcome = run_search(context, front_end);
    front_end.clear_progress();
    return exit_status(outcome);
}
