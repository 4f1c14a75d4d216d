#include "book_cells.h"

#include "book_record.h"
#include "file_type.h"
#include "plain_file.h"
#include "readers.h"
#include "work_area.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr unsigned char kFlagOff = 0;

// The record the readers fill with sheet names, shared strings and
// styles, freed with everything the reading made.
class SinkBook {
public:
    SinkBook() { std::memset(&book_, 0, sizeof book_); book_.thread_no = -1; }
    ~SinkBook() {
        ozw_free_work(&book_);
        ozw_release_book(&book_);
    }
    SinkBook(const SinkBook &) = delete;
    SinkBook &operator=(const SinkBook &) = delete;

    // 0 or -2.  Numbers and dates are shown through their formats, and the
    // book's number formats replace the standard ones, as when unloading.
    int open(int kind) {
        if (!ozw_new_work(&book_) || ozw_init_book(&book_, kind) != 0) return -2;
        book_.flags[OXLS_FLAG_KEEP_STYLES] = kFlagOff;
        book_.flags[OXLS_FLAG_FORMATTED_TEXT] = kFlagOff;
        return 0;
    }
    XLS_BOOK *get() { return &book_; }

private:
    XLS_BOOK book_;
};

}  // namespace

int BookCellReader::read(const char *path, BookFormat format, SheetCellSink &sink) {
    int type = FILE_TYPE_UNKNOWN;
    if (orb_file_type(FILE_SOURCE_DISK, path, &type) != 0) return -1;
    const bool package = type == FILE_TYPE_XLSX || type == FILE_TYPE_XLSM;
    if (format == BookFormat::Excel2007 ? !package : type != FILE_TYPE_XLS) return -1;
    try {
        auto book = std::make_unique<SinkBook>();
        if (int rc = book->open(package ? BOOK_KIND_XLSX : BOOK_KIND_XLS)) return rc;
        // A package is read with one call, where the unzip layer would
        // read its directory a few bytes at a time.
        if (package && orb_read_whole_file(1, path, file_buffer_) != 0) return -1;
        return package ? ozw_stream_excel2007(book->get(), file_buffer_, sink, part_buffer_)
                       : ozw_stream_excel2003(book->get(), path, sink);
    } catch (const std::bad_alloc &) {
        return -2;
    }
}
