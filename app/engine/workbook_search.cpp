#include "engine/workbook_search.h"

#include "engine/path_text.h"
#include "cell_name.h"

namespace zscan {

WorkbookSearch::WorkbookSearch(CellMatcher &matcher, HitTarget &hits, int charset)
    : hits_(hits), book_hits_(matcher, charset) {}

int WorkbookSearch::search_book(SearchContext &context, BookKind kind) {
    book_hits_.clear();
    const BookFormat format = kind == BookKind::Excel2003 ? BookFormat::Excel2003 : BookFormat::Excel2007;
    // A book that cannot be read to its end has no hits: none of its cells
    // is reported, as when it cannot be opened at all.
    if (reader_.read(context.current_file.c_str(), format, book_hits_) != 0) return -1;

    std::string folder_path = folder_of(context.charset, context.current_file);
    std::string link_path = context.current_file;
    if (!is_absolute_path(context.current_file)) {
        link_path = joined_path(context.link_base_folder, context.current_file);
        folder_path = joined_path(context.link_base_folder, folder_path);
    }
    for (const BookHits::Hit &hit : book_hits_.in_order()) {
        const std::string cell_name = ozw_cell_name(hit.row, hit.column);
        const HitPlace place{book_hits_.sheet_name(hit.sheet), cell_name, link_path, folder_path};
        if (!hits_.record(place, hit.text)) break;
    }
    return 0;
}

}  // namespace zscan
