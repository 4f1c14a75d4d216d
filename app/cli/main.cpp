// zscan: searches the cell texts of the Excel books below a folder.
#include "cli/cli_options.h"
#include "cli/result_lock.h"
#include "cli/terminal_front_end.h"
#include "engine/search_context.h"
#include "engine/search_run.h"
#include "engine/settings_file.h"
#include "platform/platform.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace zscan;

constexpr int kExitFound = 0;
constexpr int kExitNothingFound = 1;
constexpr int kExitError = 2;
constexpr int kExitHitLimit = 3;
constexpr int kExitSignalBase = 128;

int fail(const std::string &message) {
    std::fprintf(stderr, "zscan: %s\n", message.c_str());
    return kExitError;
}

// The passwords of a password file, one a line; a line's carriage return,
// a leading byte-order mark and empty lines are dropped.  False when the
// file cannot be read.
bool read_password_file(const std::string &path, std::vector<std::string> &passwords) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    for (std::string line; std::getline(file, line);) {
        if (passwords.empty() && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) passwords.push_back(line);
    }
    return !file.bad();
}

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

std::string absolute(const std::string &path) {
    if (path.empty() || path.front() == '/') return path;
    const std::string relative = path == "." ? std::string() : path.starts_with("./") ? path.substr(2) : path;
    return relative.empty() ? working_folder() : working_folder() + "/" + relative;
}

bool ends_with_xlsx(const std::string &path) {
    if (path.size() < 5) return false;
    std::string ending = path.substr(path.size() - 5);
    for (char &c : ending) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ending == ".xlsx";
}

// The user's own settings file: $XDG_CONFIG_HOME/zscan/Z-Scan.ini, else
// ~/.config/zscan/Z-Scan.ini; empty when neither can be named.
std::string user_settings_path() {
    std::string base;
    if (zplat::get_env("XDG_CONFIG_HOME", base) && !base.empty() && base.front() == '/') return base + "/zscan/Z-Scan.ini";
    if (zplat::get_env("HOME", base) && !base.empty()) return base + "/.config/zscan/Z-Scan.ini";
    return {};
}

bool file_exists(const std::string &path) {
    long long size = 0;
    return !path.empty() && zplat::file_size(path.c_str(), &size) == 0;
}

// Makes the folders above the settings file; false when one cannot be made.
bool make_parent_folders(const std::string &path) {
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        if (zplat::make_directory(path.substr(0, at).c_str()) < 0) return false;
    }
    return true;
}

void apply_options(const CliOptions &options, FieldValues &fields) {
    if (options.folder) fields.target_folder = without_trailing_separators(*options.folder);
    if (options.search_words) fields.search_words = *options.search_words;
    if (options.list_file) fields.list_file_path = *options.list_file;
    if (options.file_name_keywords) fields.file_name_keywords = *options.file_name_keywords;
    if (options.output_excel) fields.output_excel = *options.output_excel;
    if (options.regular_expression) fields.regular_expression = *options.regular_expression;
    if (options.ignore_case) fields.folds.letter_case = *options.ignore_case;
    if (options.fold_width) fields.folds.width = *options.fold_width;
    if (options.fold_kana) fields.folds.kana = *options.fold_kana;
    if (options.cells_only) fields.cells_only = *options.cells_only;
}

int exit_status(SearchOutcome outcome, const SearchContext &context) {
    if (const int number = TerminalFrontEnd::stopping_signal()) return kExitSignalBase + number;
    switch (outcome) {
    case SearchOutcome::Found:
    case SearchOutcome::Declined:
        return context.limit_passed ? kExitHitLimit : kExitFound;
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
#ifdef __GLIBC__
    // Each book's bytes and inflated parts take buffers of megabytes, on
    // several threads.  Left to itself the allocator maps each anew and
    // unmaps it when freed, and the pages are faulted in and cleared again
    // for every book; kept in the heap they are reused.  The memory budget
    // still bounds what the books in flight hold.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
    if (options.version) {
        std::puts("Z-Scan 1.0.0.0");
        return kExitFound;
    }

    SearchContext context;
    init_search_context(context);
    if (context.temp_folder.empty()) {
        return fail("no private temporary folder: zscan-" + std::to_string(geteuid()) +
                    " under TMPDIR or /tmp is a link, belongs to another user or is open to others; "
                    "remove it or set TEMP");
    }
    // Books named by a relative path are linked from the folder they were
    // found from.
    context.link_base_folder = working_folder();
    // The user's settings, else those beside the program; saved settings
    // always go to the user's own file.
    const std::string user_settings = user_settings_path();
    if (!options.no_settings) {
        load_settings(context, file_exists(user_settings) ? user_settings : settings_file_path(context));
    }

    FieldValues fields = shown_fields(context);
    apply_options(options, fields);
    if (!take_fields(context, fields)) {
        return fail("a path is longer than " + std::to_string(kPathMax) + " bytes or a text longer than " +
                    std::to_string(kWordsTextMax) + " bytes");
    }
    // A mistyped or vanished folder would only end in "nothing found"; say
    // so instead.
    if (!context.target_folder.empty() && !zplat::is_directory(context.target_folder.c_str())) {
        return fail("not a folder: " + context.target_folder);
    }
    if (options.save_settings) {
        context.target_folder = absolute(context.target_folder);
        if (context.list_file_path == "-") context.list_file_path.clear();
        if (user_settings.empty() || !make_parent_folders(user_settings) ||
            save_settings(context, user_settings) != 0) {
            return fail("cannot write the settings file " + (user_settings.empty() ? "(no HOME)" : user_settings));
        }
        if (context.search_words_text.empty() && context.list_file_path.empty()) return kExitFound;
    }
    if (context.list_file_path == "-") {
        context.list_file_bytes.emplace(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }

    // At a prompt no folder means the folder the user is in, as for grep -r;
    // walking the whole file system is never what was meant.  The saved
    // settings keep the empty folder.
    if (context.target_folder.empty()) context.target_folder = std::string(".");

    context.texts.formulas = options.formulas;
    if (options.output) {
        context.result_path_given = *options.output;
        context.output_excel = ends_with_xlsx(*options.output);
    }
    if (options.password_file && !read_password_file(*options.password_file, context.book_passwords)) {
        return fail("cannot read the password file " + *options.password_file);
    }
    context.hit_limit = options.max_hits ? *options.max_hits : kHitLimit;
    context.exact_hit_limit = true;
    context.jobs = options.jobs ? *options.jobs : jobs_per_core();

    // One zscan at a time writes a result file.
    const std::string result = absolute(result_path(context));
    ResultLock lock;
    std::string holder;
    if (!lock.take(context.temp_folder, result, holder, error)) {
        if (!error.empty()) return fail("cannot lock the result file: " + error);
        return fail("another zscan" + (holder.empty() ? std::string() : " (process " + holder + ")") +
                    " is writing " + result + "; give this search a result file of its own with -o FILE");
    }

    const TerminalOptions terminal{options.output_mode, options.null_ends_paths, options.quiet,
                                   options.no_messages, options.stats, options.open_result};
    TerminalFrontEnd front_end(terminal, context);
    TerminalFrontEnd::catch_signals();
    const auto started = std::chrono::steady_clock::now();
    const SearchOutcome outcome = run_search(context, front_end);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    if (const std::string output_error = front_end.finish(context, elapsed.count()); !output_error.empty()) {
        return fail("cannot write standard output: " + output_error);
    }
    if (TerminalFrontEnd::stopping_signal() != 0) std::fputs("zscan: interrupted\n", stderr);
    return exit_status(outcome, context);
}
