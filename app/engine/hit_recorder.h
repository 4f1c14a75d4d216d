// Records each hit as it is found: a line appended to the text result
// file, or a row with two links added to the result book.  It keeps the
// hit limit, counts the books searched and keeps those that could not be
// searched, all in walk order, so that whatever the number of books read
// at once, the result comes out the same.
#pragma once

#include "engine/front_end.h"
#include "engine/hit_place.h"
#include "engine/not_searched.h"
#include "engine/search_context.h"

#include <optional>
#include <string>
#include <string_view>

namespace zscan {

// Longest cell text written into the result book, in bytes.
constexpr size_t kResultBookTextMax = 1000;
// Most hits a result book holds: a sheet's rows less the headings.
constexpr int kResultBookHitsMax = 1048575;

// Where the search of one book hands its hits.
class HitTarget {
public:
    virtual ~HitTarget() = default;
    // Takes one hit of the book being searched.  False when the search of
    // the book is to stop.
    virtual bool record(const HitPlace &place, std::string_view text, MatchedText matched) = 0;
};

class HitRecorder : public HitTarget {
public:
    HitRecorder(SearchContext &context, FrontEnd &front_end)
        : context_(context), front_end_(front_end) {}

    // Counts the hit and records it.  False when the book is to be left:
    // the hit passed the limit and is not kept, or the result cannot be
    // written.
    bool record(const HitPlace &place, std::string_view text, MatchedText matched) override;
    // The search of the book at `path` is over: searched, or not searched
    // for the reason given.
    void book_finished(std::string_view path, const std::optional<NotSearched> &problem);
    // A book or folder that could not be searched.
    void not_searched(NotSearched item);
    // True once no further book is to be searched: the hit limit was
    // passed or the result file cannot be written.
    bool search_over() const { return context_.limit_passed || !context_.write_error.empty(); }

private:
    // Whether the hit just counted passed the limit; tells the front end
    // the first time.
    bool passes_limit();
    bool append_text_line(const HitPlace &place, std::string_view text, MatchedText matched);
    void add_book_row(const HitPlace &place, std::string_view text, MatchedText matched);

    SearchContext &context_;
    FrontEnd &front_end_;
    int book_hits_ = 0;   // hits recorded for the book being recorded
};

}  // namespace zscan
