#include "book_cells.h"

#include "byte_source.h"
#include "encrypted/encrypted_package.h"
#include "file_type.h"
#include "plain_file.h"
#include "readers.h"
#include "result_codes.h"
#include "xls/cfb_reader.h"

#include <new>

namespace {

// Whether the compound file `book` holds an encrypted package.  Looked for
// only once the book failed as a workbook, so that a workbook's file is not
// scanned twice.
bool holds_encrypted_package(std::string_view book) {
    ByteSource file(book);
    const CfbStorage storage(file);
    return storage.open() && storage.entry(CFB_ENCRYPTED_PACKAGE) != nullptr;
}

}  // namespace

int BookCellReader::read(const char *path, BookSink &sink) {
    // The book is read whole with one open: on a file server each open and
    // each look at the file is a round trip.
    const int rc = orb_read_whole_file(1, path, file_buffer_);
    if (rc == OXLS_ERR_MEMORY) return rc;
    return rc == 0 ? read_view(file_buffer_, sink) : OZW_FAILED;
}

void BookCellReader::release_above(size_t most) {
    if (file_buffer_.capacity() > most) file_buffer_ = std::string();
    part_buffer_.release_above(most);
    context_.shared_strings.release_above(most);
}

int BookCellReader::read_view(std::string_view book, BookSink &sink) {
    try {
        // The reader is chosen by the book's first bytes, not by its name,
        // so that an .xls book renamed .xlsx (and the reverse) is read all
        // the same.
        if (book.size() < FILE_HEADER_LEN) return OZW_FAILED;
        int type = FILE_TYPE_UNKNOWN;
        if (orb_file_type(FILE_SOURCE_HEADER, book.data(), &type) != 0) return OZW_FAILED;
        const bool package = type == FILE_TYPE_ZIP;
        if (!package && type != FILE_TYPE_XLS) return OZW_FAILED;
        context_.book_kind = package ? BOOK_KIND_XLSX : BOOK_KIND_XLS;
        context_.sheet_names.clear();
        context_.shared_strings.clear();
        context_.date_origin_days = 0;
        // Cell styles refer to the book's own tables only.
        styles_.number_formats.clear();
        styles_.fonts.clear();
        styles_.fills.clear();
        styles_.borders.clear();
        styles_.xfs.clear();
        context_.styles = &styles_;
        if (!package) {
            const int rc = ozw_stream_excel2003(book, context_, sink);
            if (rc == 0 || !holds_encrypted_package(book)) return rc;
            // The deciphered package takes the reader's buffer, which may
            // be what `book` shows: it is swapped in only once read.
            std::string deciphered;
            ByteSource file(book);
            if (const int open_rc = ozw_read_encrypted_package(file, context_.passwords, deciphered)) return open_rc;
            file_buffer_.swap(deciphered);
            book = file_buffer_;
            context_.book_kind = BOOK_KIND_XLSX;
        }
        return ozw_stream_excel2007(book, context_, sink, part_buffer_);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
}
