#include "engine/settings_file.h"

#include "engine/path_text.h"
#include "platform/platform.h"
#include "section_file.h"

#include <cstdio>

namespace zscan {
namespace {

constexpr const char *kSectionName = "Z-Scan";
constexpr const char *kFileName = "Z-Scan.ini";

// A section-file record for `path`; false when the path does not fit it.
bool section_record(const SearchContext &context, const std::string &path, SectionFile &file) {
    file = SectionFile{};
    if (path.size() >= sizeof file.path) return false;
    std::snprintf(file.path, sizeof file.path, "%s", path.c_str());
    file.charset = context.charset;
    return true;
}

// Takes the value of `key` into `field` when it is at most `limit` bytes.
void take_text(SectionFile &file, const char *key, size_t limit, std::string &field) {
    std::string value;
    if (orb_section_get(&file, 0, key, value) == 0 && value.size() <= limit) field = value;
}

void take_flag(SectionFile &file, const char *key, bool &flag) {
    std::string value;
    if (orb_section_get(&file, 0, key, value) == 0 && (value == "Y" || value == "y")) flag = true;
}

}  // namespace

std::string settings_file_path(const SearchContext &context) {
    return joined_path(folder_of(context.charset, zplat::executable_path()), kFileName);
}

void load_settings(SearchContext &context, const std::string &path) {
    SectionFile file;
    if (!section_record(context, path, file)) return;
    if (orb_section_read(&file) == 0) {
        take_text(file, "DIRECTORY", kPathMax, context.target_folder);
        take_text(file, "FILENAMES", kWordsTextMax, context.file_name_keywords_text);
        take_flag(file, "IS_OUTPUT_EXCEL", context.output_excel);
        take_flag(file, "IS_REGULAR_EXPRESSION", context.regular_expression);
        take_flag(file, "FOLD_CASE", context.folds.letter_case);
        take_flag(file, "FOLD_WIDTH", context.folds.width);
        take_flag(file, "FOLD_KANA", context.folds.kana);
        bool cells_only = false;
        take_flag(file, "CELLS_ONLY", cells_only);
        context.texts.outside_cells = !cells_only;
        take_text(file, "KEYWORD", kWordsTextMax, context.search_words_text);
        take_text(file, "LIST_PATH", kPathMax, context.list_file_path);
    }
    orb_section_free(&file);
}

int save_settings(const SearchContext &context, const std::string &path) {
    SectionFile file;
    if (!section_record(context, path, file)) return -1;
    std::snprintf(file.section, sizeof file.section, "%s", kSectionName);
    // The folds and cells-only are written only when on: a user who never
    // turns one on keeps the file the earlier versions wrote and read.
    const struct {
        const char *key;
        const char *value;
        bool written;
    } entries[] = {
        {"DIRECTORY", context.target_folder.c_str(), true},
        {"FILENAMES", context.file_name_keywords_text.c_str(), true},
        {"IS_OUTPUT_EXCEL", context.output_excel ? "Y" : "N", true},
        {"IS_REGULAR_EXPRESSION", context.regular_expression ? "Y" : "N", true},
        {"FOLD_CASE", "Y", context.folds.letter_case},
        {"FOLD_WIDTH", "Y", context.folds.width},
        {"FOLD_KANA", "Y", context.folds.kana},
        {"CELLS_ONLY", "Y", !context.texts.outside_cells},
        {"KEYWORD", context.search_words_text.c_str(), true},
        {"LIST_PATH", context.list_file_path.c_str(), true},
    };
    int rc = 0;
    for (const auto &entry : entries) {
        if (rc == 0 && entry.written) rc = orb_section_set(&file, 0, entry.key, entry.value);
    }
    if (rc == 0) rc = orb_section_write(&file);
    orb_section_free(&file);
    return rc;
}

bool settings_changed(const SearchContext &context, const FieldValues &snapshot) {
    return context.target_folder != snapshot.target_folder ||
           context.search_words_text != snapshot.search_words ||
           context.file_name_keywords_text != snapshot.file_name_keywords ||
           context.list_file_path != snapshot.list_file_path ||
           context.output_excel != snapshot.output_excel ||
           context.regular_expression != snapshot.regular_expression ||
           context.folds.letter_case != snapshot.folds.letter_case || context.folds.width != snapshot.folds.width ||
           context.folds.kana != snapshot.folds.kana || context.texts.outside_cells == snapshot.cells_only;
}

}  // namespace zscan
