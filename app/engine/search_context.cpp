#include "engine/search_context.h"

#include "charset.h"
#include "engine/path_text.h"
#include "platform/platform.h"

#include <thread>

namespace zscan {

void init_search_context(SearchContext &context) {
#ifdef _WIN32
    context.charset = CS_SJIS;
#else
    context.charset = CS_UTF8;
#endif
    context.target_folder.clear();
    context.file_name_keywords_text.clear();
    context.search_words_text.clear();
    context.list_file_path.clear();
    context.output_excel = false;
    context.regular_expression = false;
    context.folds = FoldOptions{};
    context.texts = TextsSearched{};
    context.temp_folder = zplat::temp_folder();
    context.link_base_folder = folder_of(context.charset, zplat::executable_path());
    context.search_words.clear();
    context.file_name_keywords.clear();
    context.current_folder.clear();
    context.result_file_path.clear();
    context.hit_count = 0;
    context.result_book.reset();
}

int jobs_per_core() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

bool take_fields(SearchContext &context, const FieldValues &fields) {
    if (fields.target_folder.size() > kPathMax || fields.list_file_path.size() > kPathMax ||
        fields.file_name_keywords.size() > kWordsTextMax ||
        fields.search_words.size() > kWordsTextMax) {
        return false;
    }
    // Folding never changes a text's length, so it is done in place.
    std::string keywords = fields.file_name_keywords;
    std::string words = fields.search_words;
    orb_fold_fullwidth_spaces(context.charset, keywords.data());
    orb_fold_fullwidth_spaces(context.charset, words.data());

    context.target_folder = fields.target_folder;
    context.file_name_keywords_text = keywords;
    context.search_words_text = words;
    context.list_file_path = fields.list_file_path;
    context.output_excel = fields.output_excel;
    context.regular_expression = fields.regular_expression;
    context.folds = fields.folds;
    context.texts.outside_cells = !fields.cells_only;
    return true;
}

FieldValues shown_fields(const SearchContext &context) {
    return FieldValues{context.target_folder,   context.file_name_keywords_text,
                       context.search_words_text, context.list_file_path,
                       context.output_excel,    context.regular_expression,
                       context.folds,           !context.texts.outside_cells};
}

}  // namespace zscan
