// The Excel 97-2003 reader: takes the book's workbook stream, from the
// memory file named by TEMP_WORKBOOK_PATH or found by the direct scan of
// the compound file, cuts it into records and hands them to the record
// handler.
#include "read/readers.h"

#include "book_record.h"
#include "messages.h"
#include "mfile.h"
#include "platform/platform.h"
#include "read/biff_direct_scan.h"
#include "read/biff_stream.h"
#include "read/biff_workbook.h"
#include "work_area.h"

namespace {

constexpr uint64_t kFileSector = 512;
constexpr int kModeLoad = 3;
constexpr int kModeUnload = 4;
constexpr int kModeUnloadName = 6;
// read_stream's result for a stream that does not begin with a BOF record.
constexpr int kNoWorkbookStream = 1;

// Reads one stream.  The encryption record stops the load at once: the
// rest of the stream cannot be read without the password.
int read_stream(XLS_BOOK *book, BiffWorkbookLoader &loader, BiffRecordReader &reader) {
    loader.begin_stream();
    biff::Record record;
    bool first = true;
    while (reader.next(record)) {
        if (first && record.number != biff::BOF) return kNoWorkbookStream;
        first = false;
        if (record.number == biff::FILEPASS) {
            biff_push_message(book, 901, "");
            return -4;
        }
        const int rc = loader.handle(record);
        if (rc == biff::END_OF_STREAM) break;
        if (rc == -2 || rc == -9) return rc;
        if (rc != 0) return -1;
    }
    return first ? kNoWorkbookStream : 0;
}

int read_memory_file(XLS_BOOK *book, BiffWorkbookLoader &loader, uint64_t file_sectors) {
    const char *name = book->temp_workbook_path;
    MFILE *file = mopen(name, "rb");
    if (!file) {
        biff_push_message(book, 3000, name);
        return ozw_set_error(book, -1, OXLS_03103, name);
    }
    BiffRecordReader reader([file](unsigned char *buffer, size_t count) { return mread(buffer, 1, count, file); },
                            static_cast<uint64_t>(file->length), file_sectors, false);
    const int rc = read_stream(book, loader, reader);
    mclose(file);
    return rc == kNoWorkbookStream ? -1 : rc;
}

// The streams the direct scan finds, each read as contiguous file bytes
// from its first sector; pieces of the allocation table between them are
// passed over.  An entry whose bytes are no workbook stream (a stream kept
// in small blocks, or another storage's "Workbook") is skipped; at least
// one must be.
int read_scanned_streams(XLS_BOOK *book, BiffWorkbookLoader &loader, const char *path, uint64_t file_sectors) {
    std::vector<BiffStreamSpan> spans;
    int rc = biff_scan_workbook_streams(book, path, spans);
    if (rc != 0) return rc;
    zplat::File *file = zplat::file_open(path, 1);
    if (!file) {
        biff_push_message(book, 3000, path);
        return -1;
    }
    bool read_one = false;
    for (const BiffStreamSpan &span : spans) {
        if (zplat::file_seek(file, static_cast<long long>(span.offset), 1) != 0) continue;
        BiffRecordReader reader(
            [file](unsigned char *buffer, size_t count) { return zplat::file_read(file, buffer, count); },
            span.size, file_sectors, true);
        const int stream_rc = read_stream(book, loader, reader);
        if (stream_rc == kNoWorkbookStream) continue;
        if (stream_rc != 0) {
            rc = stream_rc;
            break;
        }
        read_one = true;
    }
    zplat::file_close(file);
    return rc == 0 && !read_one ? -1 : rc;
}

int load_book(XLS_BOOK *book, const char *path) {
    long long file_size = 0;
    if (zplat::file_size(path, &file_size) != 0) {
        biff_push_message(book, 3000, path);
        return -1;
    }
    const uint64_t file_sectors = static_cast<uint64_t>(file_size) / kFileSector;
    StyleTables *styles = ozw_styles(book);
    // The cell-format table is the book's own.  The unloading modes also
    // start the number-format table empty; the others keep what the record
    // was set up with.
    styles->xfs.clear();
    const OzwWork *work = ozw_work(book);
    if (work && (work->mode == kModeLoad || work->mode == kModeUnload || work->mode == kModeUnloadName))
        styles->number_formats.clear();

    BiffWorkbookLoader loader(book);
    int rc = book->temp_workbook_path[0] ? read_memory_file(book, loader, file_sectors)
                                         : read_scanned_streams(book, loader, path, file_sectors);
    if (rc == 0) rc = loader.finish();
    return rc;
}

}  // namespace

int ozw_read_excel2003(XLS_BOOK *book, const char *path) {
    const int rc = load_book(book, path);
    if (rc == -2) biff_push_message(book, 2, "");
    // The extracted stream is not needed once read, whatever the outcome:
    // its memory goes now rather than with the book, so that a large book
    // is not held twice.
    if (book->temp_workbook_path[0]) mdelete(book->temp_workbook_path);
    return rc;
}
