#include "book_cells.h"

#include "encrypted/encrypted_package.h"
#include "file_type.h"
#include "plain_file.h"
#include "platform/platform.h"
#include "readers.h"
#include "result_codes.h"

#include <new>

int BookCellReader::read(const char *path, BookSink &sink) {
    // The reader is chosen by the file's first bytes, not by its name, so
    // that an .xls book renamed .xlsx (and the reverse) is read all the
    // same.
    unsigned char header[FILE_HEADER_LEN] = {};
    zplat::File *file = zplat::file_open(path, zplat::FILE_READ);
    if (!file) return OZW_FAILED;
    const size_t length = zplat::file_read(file, header, sizeof header);
    zplat::file_close(file);
    int type = FILE_TYPE_UNKNOWN;
    if (length < sizeof header || orb_file_type(FILE_SOURCE_HEADER, reinterpret_cast<const char *>(header), &type) != 0)
        return OZW_FAILED;
    const bool package = type == FILE_TYPE_ZIP;
    if (!package && type != FILE_TYPE_XLS) return OZW_FAILED;
    try {
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
            const int rc = ozw_stream_excel2003(path, context_, sink);
            // A compound file without a workbook stream may hold an
            // encrypted package; it is looked for only then, so that a
            // workbook's file is not scanned twice.
            if (rc == 0 || orb_find_cfb_entry(FILE_SOURCE_DISK, path, CFB_ENCRYPTED_PACKAGE, nullptr) != 1) return rc;
            if (const int open_rc = ozw_read_encrypted_package(path, context_.passwords, file_buffer_))
                return open_rc;
            context_.book_kind = BOOK_KIND_XLSX;
            return ozw_stream_excel2007(file_buffer_, context_, sink, part_buffer_);
        }
        // A package is read with one call, where the unzip layer would
        // read its directory a few bytes at a time.
        if (orb_read_whole_file(1, path, file_buffer_) != 0) return OZW_FAILED;
        return ozw_stream_excel2007(file_buffer_, context_, sink, part_buffer_);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
}
