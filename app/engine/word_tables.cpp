#include "engine/word_tables.h"

#include "engine/app_texts.h"
#include "platform/platform.h"
#include "word_reader.h"

#include <cstdio>

namespace zscan {
namespace {

// Bytes read from the list file at a time; a longer line is read in
// pieces, each split on its own.
constexpr int kListReadSize = 16384;

// Appends the words of the list file; false when it cannot be opened or
// is a folder.
// Its full-width spaces are left as they are, so they do not split words.
bool append_list_file_words(SearchContext &context) {
    // A folder opens for reading on some systems, and then reads as empty.
    if (zplat::is_directory(context.list_file_path.c_str())) return false;
    std::FILE *file = std::fopen(context.list_file_path.c_str(), "r");
    if (file == nullptr) return false;
    std::vector<char> piece(kListReadSize);
    while (std::fgets(piece.data(), kListReadSize, file) != nullptr) {
        orb_split_words(context.charset, piece.data(), context.search_words);
    }
    std::fclose(file);
    return true;
}

}  // namespace

bool build_word_tables(SearchContext &context, FrontEnd &front_end) {
    context.search_words.clear();
    if (!context.list_file_path.empty() && !append_list_file_words(context)) {
        front_end.show_message(in_charset(context.charset, text::kTitle),
                               filled(context.charset, text::kListFileOpenError,
                                      context.list_file_path),
                               MessageIcon::Error, false, true);
        return false;
    }
    orb_split_words(context.charset, context.search_words_text, context.search_words);

    std::vector<std::string> keywords;
    orb_split_words(context.charset, context.file_name_keywords_text, keywords);
    if (keywords.size() > kFileNameKeywordMax) keywords.resize(kFileNameKeywordMax);
    context.file_name_keywords = std::move(keywords);
    return true;
}

}  // namespace zscan
