// Records each hit as it is found: a line appended to the text result
// file, or a row with two links added to the result book.  In Excel
// output mode it also enforces the hit limit.
#pragma once

#include "engine/front_end.h"
#include "engine/search_context.h"

#include <string>
#include <string_view>

namespace zscan {

// Where a hit was found, in the context's character set.
struct HitPlace {
    std::string_view sheet_name;
    std::string_view cell_name;
    std::string_view link_path;     // the book's absolute path
    std::string_view folder_path;   // the absolute path of the book's folder
};

// Longest cell text written into the result book, in bytes.
constexpr size_t kResultBookTextMax = 1000;

// Where the search of one book hands its hits.
class HitTarget {
public:
    virtual ~HitTarget() = default;
    // Takes one hit of the book being searched.  False when the search of
    // the book is to stop.
    virtual bool record(const HitPlace &place, std::string_view text) = 0;
};

class HitRecorder : public HitTarget {
public:
    HitRecorder(SearchContext &context, FrontEnd &front_end)
        : context_(context), front_end_(front_end) {}

    // Counts the hit and records it for the context's current file.  False
    // when the hit passed the limit: nothing is written then and the
    // search is to stop.
    bool record(const HitPlace &place, std::string_view text) override;

private:
    void append_text_line(const HitPlace &place, std::string_view text);
    bool add_book_row(const HitPlace &place, std::string_view text);

    SearchContext &context_;
    FrontEnd &front_end_;
};

}  // namespace zscan
