// The Excel 97-2003 reader: takes the book's workbook stream, from the
// memory file named by TEMP_WORKBOOK_PATH, found by the direct scan of the
// compound file, or, where the scan cannot give the whole stream, through
// the compound-file reader; cuts it into records and hands them to the
// record handler.  OXLS_open_book reads it into the book record, the
// search into a sink of its own; messages go to the record when there is
// one.
#include "readers.h"

#include "book_record.h"
#include "book_table_sink.h"
#include "messages.h"
#include "mfile.h"
#include "result_codes.h"
#include "encrypted/book_passwords.h"
#include "xls/biff_decryptor.h"
#include "xls/biff_direct_scan.h"
#include "xls/biff_stream.h"
#include "xls/biff_workbook.h"
#include "xls/cfb_reader.h"
#include "work_area.h"

#include <algorithm>
#include <vector>

namespace {

constexpr uint64_t kFileSector = 512;
constexpr int kModeLoad = 3;
constexpr int kModeUnload = 4;
constexpr int kModeUnloadName = 6;
// read_stream's result for a stream that does not begin with a BOF record.
constexpr int kNoWorkbookStream = 1;

// Reads one stream.  The encryption record stops the load at once unless
// the default password or one the caller gave opens the stream; the
// records after it are then deciphered as they are read.
int read_stream(XLS_BOOK *report, BiffWorkbookLoader &loader, BiffRecordReader &reader) {
    loader.begin_stream();
    biff::Record record;
    bool first = true;
    BiffDecryptor decryptor;
    while (reader.next(record)) {
        if (first && !biff::is_bof(record.number)) return kNoWorkbookStream;
        first = false;
        if (decryptor.active()) decryptor.decipher(record);
        if (record.number == biff::FILEPASS) {
            if (decryptor.active()) continue;
            if (decryptor.open(record, book_passwords_to_try(loader.passwords())) == BiffDecryptor::OPENED) continue;
            biff_push_message(report, 901, "");
            return OXLS_ERR_UNSUPPORTED;
        }
        const int rc = loader.handle(record);
        if (rc == biff::END_OF_STREAM) break;
        if (rc == OXLS_ERR_MEMORY || rc == OZW_LIMIT_REACHED || rc == OZW_NOT_A_BOOK) return rc;
        if (rc != 0) return OZW_FAILED;
    }
    return first ? kNoWorkbookStream : 0;
}

int read_memory_file(XLS_BOOK *book, BiffWorkbookLoader &loader, uint64_t file_sectors) {
    const char *name = book->temp_workbook_path;
    MFILE *file = ozw_files(book).open(name, "rb");
    if (!file) {
        biff_push_message(book, 3000, name);
        return ozw_set_error(book, OZW_FAILED, OXLS_03103, name);
    }
    BiffRecordReader reader([file](unsigned char *buffer, size_t count) { return mread(buffer, 1, count, file); },
                            static_cast<uint64_t>(file->length), file_sectors, false);
    const int rc = read_stream(book, loader, reader);
    mclose(file);
    return rc == kNoWorkbookStream ? OZW_FAILED : rc;
}

// The streams the direct scan found, each read as contiguous file bytes
// from its first sector; pieces of the allocation table between them are
// passed over.  An entry whose bytes are no workbook stream (a stream kept
// in small blocks, or another storage's "Workbook") is skipped; at least
// one must be.
int read_spans(XLS_BOOK *report, BiffWorkbookLoader &loader, ByteSource &source, uint64_t file_sectors,
               const std::vector<BiffStreamSpan> &spans) {
    int rc = 0;
    bool read_one = false;
    for (const BiffStreamSpan &span : spans) {
        uint64_t offset = span.offset;
        BiffRecordReader reader(
            [&source, &offset](unsigned char *buffer, size_t count) {
                const size_t got = source.read_at(offset, buffer, count);
                offset += got;
                return got;
            },
            span.size, file_sectors, true);
        const int stream_rc = read_stream(report, loader, reader);
        if (stream_rc == kNoWorkbookStream) continue;
        if (stream_rc != 0) {
            rc = stream_rc;
            break;
        }
        read_one = true;
    }
    return rc == 0 && !read_one ? OZW_FAILED : rc;
}

int read_scanned_streams(XLS_BOOK *report, BiffWorkbookLoader &loader, ByteSource &source, uint64_t file_sectors) {
    std::vector<BiffStreamSpan> spans;
    if (int rc = biff_scan_workbook_streams(report, source, spans)) return rc;
    return read_spans(report, loader, source, file_sectors, spans);
}

// The scan reads a stream as the file's bytes from its first sector on, in
// a file of 512-byte sectors and 64-byte short sectors.
bool scan_can_read(const CfbStorage &storage, const CfbStream &stream) {
    const CfbHeader &header = storage.header();
    return header.b_shift == 9 && header.s_shift == 6 && stream.laid_out_in_order();
}

bool scan_found(const std::vector<BiffStreamSpan> &spans, const CfbEntry &entry) {
    const uint64_t offset = (static_cast<uint64_t>(entry.start) + 1) * kFileSector;
    return std::any_of(spans.begin(), spans.end(),
                       [&](const BiffStreamSpan &span) { return span.offset == offset && span.size == entry.size; });
}

// Whether the file begins with a BOF record: a workbook stream written
// without a compound file around it, or an Excel 3.0 or 4.0 file.
bool is_bare_stream(ByteSource &source) {
    unsigned char number[2] = {};
    return source.read_exactly(0, number, sizeof number) && biff::is_bof(biff::u16(number));
}

// The whole file read as the workbook stream.
int read_bare_stream(XLS_BOOK *report, BiffWorkbookLoader &loader, ByteSource &source) {
    uint64_t offset = 0;
    BiffRecordReader reader(
        [&source, &offset](unsigned char *buffer, size_t count) {
            const size_t got = source.read_at(offset, buffer, count);
            offset += got;
            return got;
        },
        source.size(), 0, false);
    const int rc = read_stream(report, loader, reader);
    return rc == kNoWorkbookStream ? OZW_FAILED : rc;
}

// Without TEMP_WORKBOOK_PATH: the direct scan, unless the file is a compound
// file whose workbook stream the scan would read wrongly or not find (a
// fragmented stream, one in small blocks, a "Book" or "WORKBOOK" stream, an
// entry the scan does not recognise, sectors of another size).  Such a
// stream is read through the compound-file reader, giving the cells the
// search application reads.  A file that begins with a BOF record is the
// workbook stream itself.  Any other file that is no readable compound file
// keeps the scan and its messages.
int read_book_file(XLS_BOOK *report, BiffWorkbookLoader &loader, ByteSource &source, uint64_t file_sectors) {
    CfbStorage storage(source);
    const bool compound = storage.open();
    if (!compound && is_bare_stream(source)) return read_bare_stream(report, loader, source);
    const CfbEntry *entry = compound ? cfb_workbook_entry(storage) : nullptr;
    if (!entry) return read_scanned_streams(report, loader, source, file_sectors);
    CfbStream stream(storage, *entry);
    if (scan_can_read(storage, stream)) {
        std::vector<BiffStreamSpan> spans;
        if (int rc = biff_scan_workbook_streams(report, source, spans)) return rc;
        if (scan_found(spans, *entry)) return read_spans(report, loader, source, file_sectors, spans);
    }
    BiffRecordReader reader([&stream](unsigned char *buffer, size_t count) { return stream.read(buffer, count); },
                            stream.size(), file_sectors, false);
    const int rc = read_stream(report, loader, reader);
    return rc == kNoWorkbookStream ? OZW_FAILED : rc;
}

// Reads the book in `source` (the file at `path`) into the context and the
// sink, from the memory file of the record's TEMP_WORKBOOK_PATH when it
// names one.
int load_book(const char *path, ByteSource &source, ReadContext &context, BookSink &sink, XLS_BOOK *report) {
    if (!source.ok()) {
        biff_push_message(report, 3000, path);
        return OZW_FAILED;
    }
    const uint64_t file_sectors = source.size() / kFileSector;
    BiffWorkbookLoader loader(context, sink, report);
    int rc = report && report->temp_workbook_path[0] ? read_memory_file(report, loader, file_sectors)
                                                     : read_book_file(report, loader, source, file_sectors);
    if (rc == 0) rc = loader.finish();
    if (rc == 0) rc = sink.finish(context);
    return rc;
}

}  // namespace

int ozw_read_excel2003(XLS_BOOK *book, const char *path) {
    StyleTables *styles = ozw_styles(book);
    // The cell-format table is the book's own.  The unloading modes also
    // start the number-format table empty; the others keep what the record
    // was set up with.
    styles->xfs.clear();
    const OzwWork *work = ozw_work(book);
    if (work && (work->mode == kModeLoad || work->mode == kModeUnload || work->mode == kModeUnloadName))
        styles->number_formats.clear();
    ReadContext context;
    context.book_kind = BOOK_KIND_XLS;
    context.styles = styles;
    if (work) context.passwords = work->passwords;
    BookTableSink sink(book);
    int rc;
    try {
        ByteSource source(path);
        rc = load_book(path, source, context, sink, book);
    } catch (const std::bad_alloc &) {
        rc = OXLS_ERR_MEMORY;
    }
    if (rc == OXLS_ERR_MEMORY) biff_push_message(book, 2, "");
    // The extracted stream is not needed once read, whatever the outcome:
    // its memory goes now rather than with the book, so that a large book
    // is not held twice.
    if (book->temp_workbook_path[0]) ozw_files(book).remove_everywhere(book->temp_workbook_path);
    return rc;
}

int ozw_stream_excel2003(std::string_view book, ReadContext &context, BookSink &sink) {
    try {
        ByteSource source(book);
        return load_book("", source, context, sink, nullptr);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
}
