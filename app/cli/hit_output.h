// What zscan writes on standard output: a line per hit ([book][sheet][cell]
// text), JSON Lines (an object per hit, then one closing summary), hits
// per book (path:count), or the books with or without hits (one path per
// line, or each ended by a NUL for xargs -0).
#pragma once

#include "engine/hit_place.h"
#include "engine/search_context.h"

#include <string>
#include <string_view>

namespace zscan {

enum class OutputMode { Lines, Json, Count, FilesWithHits, FilesWithoutHits };

// How a search ended, for the closing summary.
enum class SearchEnd { Complete, Interrupted, HitLimit };

class HitOutput {
public:
    // `null_ends_paths`: each path of the two file lists is ended by a NUL
    // instead of a line feed.  `quiet`: nothing is written.
    HitOutput(OutputMode mode, bool null_ends_paths, bool quiet)
        : mode_(mode), null_ends_paths_(null_ends_paths), quiet_(quiet) {}

    // The text to write for a recorded hit; empty when the mode writes
    // none (a result book's hits have no line).
    std::string hit(const RecordedHit &hit) const;
    // The text to write once a book has been searched.
    std::string book(std::string_view path, int hits) const;
    // The text to write at the end: the summary object in JSON.
    std::string summary(const SearchContext &context, SearchEnd end, double seconds) const;
    // Whether the path of a finished result book goes to standard output.
    bool shows_result_path() const { return mode_ == OutputMode::Lines && !quiet_; }

private:
    OutputMode mode_;
    bool null_ends_paths_;
    bool quiet_;
};

// "encrypted with a password", "damaged: ..." and the like.
std::string reason_text(const NotSearched &item);

}  // namespace zscan
