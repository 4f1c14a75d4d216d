// The search context: the application's one record.  It holds the taken
// settings, the word tables, the paths the walk and the book search work
// on, the hit count and the result book.  Every engine step reads and
// writes it; front ends fill its settings through take_fields().
#pragma once

#include "oxls.h"

#include <memory>
#include <string>
#include <vector>

namespace zscan {

// Longest texts the context keeps, in bytes.  Longer input is refused,
// never cut.
constexpr size_t kPathMax = 256;
constexpr size_t kWordsTextMax = 4000;
constexpr size_t kFileNameKeywordMax = 10;
// Hits kept before a search stops.
constexpr int kHitLimit = 10000;

struct SearchContext {
    // Character set of every text the front end and the engine exchange:
    // CS_SJIS under Windows, CS_UTF8 on POSIX systems.
    int charset = 0;

    // Settings, as taken from the front end.
    std::string target_folder;
    std::string file_name_keywords_text;   // full-width spaces folded
    std::string search_words_text;         // full-width spaces folded
    std::string list_file_path;
    bool output_excel = false;
    bool regular_expression = false;
    // Books searched at once.  1 searches them one after another on the
    // walking thread, as a window front end does.
    int jobs = 1;

    // Folders.
    std::string temp_folder;        // result files
    std::string link_base_folder;   // base of links for books given by a relative path

    // Word tables built at the start of each search.
    std::vector<std::string> search_words;
    std::vector<std::string> file_name_keywords;

    // Working state of a search.
    std::string current_folder;
    std::string current_file;
    std::string result_file_path;
    int hit_count = 0;
    std::unique_ptr<XLS_BOOK> result_book;   // open in Excel output mode only
};

// The context as a front end starts with it: empty texts, both flags off,
// the temporary folder of the platform, links based on the executable's
// folder, and the platform's character set.
void init_search_context(SearchContext &context);

// What a front end shows in its input fields.
struct FieldValues {
    std::string target_folder;
    std::string file_name_keywords;
    std::string search_words;
    std::string list_file_path;
    bool output_excel = false;
    bool regular_expression = false;
};

// Takes the fields into the context, folding full-width spaces in the two
// keyword texts.  False (and the context unchanged) when a text is longer
// than its field holds.
bool take_fields(SearchContext &context, const FieldValues &fields);

// The fields of the context, for a front end to show.
FieldValues shown_fields(const SearchContext &context);

}  // namespace zscan
