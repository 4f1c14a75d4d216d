#include "engine/workbook_search.h"

#include "engine/path_text.h"
#include "engine/unread_book.h"
#include "cell_name.h"

namespace zscan {

WorkbookSearch::WorkbookSearch(CellMatcher &matcher, int charset, TextsSearched texts, std::string link_base_folder,
                               const std::vector<std::string> &passwords)
    : charset_(charset), link_base_folder_(std::move(link_base_folder)), book_hits_(matcher, charset, texts) {
    reader_.set_passwords(passwords);
}

std::optional<NotSearched> WorkbookSearch::search(const BookJob &job, HitTarget &hits) {
    book_hits_.clear();
    return record_hits(job, reader_.read(job.path.c_str(), book_hits_), hits);
}

std::optional<NotSearched> WorkbookSearch::search_read(const BookJob &job, int read_rc, std::string_view bytes,
                                                       int share, int shares, HitTarget &hits) {
    book_hits_.clear(share, shares);
    return record_hits(job, read_rc != 0 ? read_rc : reader_.read_view(bytes, book_hits_), hits);
}

std::optional<NotSearched> WorkbookSearch::record_hits(const BookJob &job, int rc, HitTarget &hits) {
    // A book that cannot be read to its end has no hits: none of its cells
    // is reported, as when it cannot be opened at all.
    if (rc != 0) return unread_book(job.path, rc);

    std::string folder_path = folder_of(charset_, job.path);
    std::string link_path = job.path;
    if (!is_absolute_path(job.path)) {
        link_path = joined_path(link_base_folder_, job.path);
        folder_path = joined_path(link_base_folder_, folder_path);
    }
    for (const BookHits::Hit &hit : book_hits_.in_order()) {
        const std::string cell_name = ozw_cell_name(hit.row, hit.column);
        const HitPlace place{job.path, book_hits_.sheet_name(hit.sheet), cell_name,       link_path, folder_path,
                             job.kind, hit.holder,                       hit.holder_name, hit.sheet};
        if (!hits.record(place, hit.text, hit.form)) break;
    }
    return std::nullopt;
}

}  // namespace zscan
