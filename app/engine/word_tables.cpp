#include "engine/word_tables.h"

#include "engine/app_texts.h"
#include "engine/list_file_text.h"
#include "engine/search_words.h"
#include "platform/platform.h"

#include <cstdio>

namespace zscan {
namespace {

// The bytes of the list file; false when it cannot be opened or read, or
// is a folder.
bool read_list_file(const std::string &path, std::string &bytes) {
    // A folder opens for reading on some systems, and then reads as empty.
    if (zplat::is_directory(path.c_str())) return false;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char piece[16384];
    for (size_t count; (count = std::fread(piece, 1, sizeof piece, file)) > 0;) bytes.append(piece, count);
    const bool read = std::ferror(file) == 0;
    std::fclose(file);
    return read;
}

void show_error(SearchContext &context, FrontEnd &front_end, std::string_view utf8_template) {
    front_end.show_message(in_charset(context.charset, text::kTitle),
                           filled(context.charset, utf8_template, context.list_file_path), MessageIcon::Error,
                           false, true);
}

}  // namespace

bool build_word_tables(SearchContext &context, FrontEnd &front_end) {
    context.search_words.clear();
    if (!context.list_file_path.empty()) {
        std::string bytes;
        if (context.list_file_bytes) {
            bytes = *context.list_file_bytes;
        } else if (!read_list_file(context.list_file_path, bytes)) {
            show_error(context, front_end, text::kListFileOpenError);
            return false;
        }
        // The list file's full-width spaces are left as they are, so they
        // do not split words.
        if (!split_search_words(context.charset, list_file_text(bytes, context.charset), context.search_words)) {
            show_error(context, front_end, text::kListFileWordTooLong);
            return false;
        }
    }
    split_search_words(context.charset, context.search_words_text, context.search_words);

    std::vector<std::string> keywords;
    split_search_words(context.charset, context.file_name_keywords_text, keywords);
    if (keywords.size() > kFileNameKeywordMax) keywords.resize(kFileNameKeywordMax);
    context.file_name_keywords = std::move(keywords);
    return true;
}

}  // namespace zscan
