// The search context: the application's one record.  It holds the taken
// settings, the word tables, the paths the walk and the book search work
// on, the hit count and the result book.  Every engine step reads and
// writes it; front ends fill its settings through take_fields().
#pragma once

#include "engine/hit_place.h"
#include "engine/not_searched.h"
#include "engine/text_fold.h"
#include "oxls.h"
#include "platform/platform.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zscan {

// Longest texts the context keeps, in bytes.  Longer input is refused,
// never cut.  A typed folder or list file may be as long as the system's
// own paths allow (the window's boxes hold 256 bytes).
constexpr size_t kPathMax = zplat::kLongestPath;
constexpr size_t kWordsTextMax = 4000;
constexpr size_t kFileNameKeywordMax = 10;
// Hits kept before a search stops, unless the front end sets another limit.
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
    // The list file's bytes when the front end read them itself (from
    // standard input); else the file at list_file_path is read.
    std::optional<std::string> list_file_bytes;
    bool output_excel = false;
    bool regular_expression = false;
    FoldOptions folds;   // case, width and kana folds of words and texts
    TextsSearched texts;   // which texts besides the cells' own are tested
    // Books searched at once.  1 searches them one after another on the
    // walking thread.
    int jobs = 1;
    // Hits kept at most; 0 for no limit.  The hit past the limit stops the
    // search: in Excel output, and with `exact_hit_limit`, it is not kept
    // and the book is left at once; otherwise the book in which the count
    // passed the limit is searched to its end.
    int hit_limit = kHitLimit;
    bool exact_hit_limit = false;
    // The result file or book named by the user; empty for the one in the
    // temporary folder.
    std::string result_path_given;
    // Passwords (UTF-8) tried on each encrypted book after the default
    // one.  Never saved with the settings.
    std::vector<std::string> book_passwords;

    // Folders.
    std::string temp_folder;        // result files
    std::string link_base_folder;   // base of links for books given by a relative path

    // Word tables built at the start of each search.
    std::vector<std::string> search_words;
    std::vector<std::string> file_name_keywords;

    // Working state of a search.  The counts are written by the walking
    // thread and read by front ends on others (the window's cancel
    // question, a terminal's progress line).
    std::string current_folder;
    std::string result_file_path;
    std::string result_book_work_path;       // the book is saved here, then renamed
    std::atomic<int> hit_count{0};           // as the window's counter shows it
    int hits_recorded = 0;                   // written to the result, kept past the end
    std::atomic<int> books_found{0};         // books the walk has handed over
    std::atomic<int> books_searched{0};      // books searched to their end
    bool limit_passed = false;               // the search was stopped by the hit limit
    std::vector<NotSearched> not_searched;   // in walk order
    std::string write_error;                 // the result file could not be written: why
    std::unique_ptr<XLS_BOOK> result_book;   // open in Excel output mode only
};

// The context as a front end starts with it: empty texts, both flags off,
// the temporary folder of the platform, links based on the executable's
// folder, and the platform's character set.
void init_search_context(SearchContext &context);

// Books a front end searches at once unless told otherwise: one per core.
int jobs_per_core();

// What a front end shows in its input fields.
struct FieldValues {
    std::string target_folder;
    std::string file_name_keywords;
    std::string search_words;
    std::string list_file_path;
    bool output_excel = false;
    bool regular_expression = false;
    FoldOptions folds;
    bool cells_only = false;   // the texts outside the cells are not searched
};

// Takes the fields into the context, folding full-width spaces in the two
// keyword texts.  False (and the context unchanged) when a text is longer
// than its field holds.
bool take_fields(SearchContext &context, const FieldValues &fields);

// The fields of the context, for a front end to show.
FieldValues shown_fields(const SearchContext &context);

}  // namespace zscan
