// The record handler: dispatch, substreams and the records of the globals
// substream.  The cell records are in biff_cells.cpp.
#include "xls/biff_workbook.h"

#include "book_record.h"
#include "messages.h"
#include "format_id.h"
#include "result_codes.h"

#include <algorithm>
#include <new>

namespace {

constexpr size_t kMaxFormatCode = 4000;   // bytes of a format code kept
constexpr unsigned char kStyleFormatBit = 0x04;
constexpr int kDays1900To1904 = 1462;
// The name of the one sheet of an Excel 3.0 or 4.0 worksheet file, which
// names none.
constexpr const char *kOldWorksheetName = "Sheet1";
// Number formats an Excel 2.x cell can name (six bits).
constexpr uint32_t kBiff2Formats = 64;

}  // namespace

BiffWorkbookLoader::BiffWorkbookLoader(ReadContext &context, BookSink &sink, XLS_BOOK *report)
    : context_(context), sink_(sink), report_(report), styles_(*context.styles), wants_notes_(sink.wants_notes()),
      notes_(context, sink) {}

void BiffWorkbookLoader::begin_stream() {
    depth_ = 0;
    globals_seen_ = false;
    current_sheet_ = -1;
    last_record_ = -1;
    string_pending_ = false;
}

int BiffWorkbookLoader::handle(const biff::Record &record) {
    // The shared string table is complete at the first record that does
    // not continue it.
    if (last_record_ == biff::SST && record.number != biff::CONTINUE) {
        int rc = sst_.parse(context_.shared_strings, report_);
        if (rc != 0) return rc;
    }
    const int previous = last_record_;
    last_record_ = record.number == biff::SST || record.number == biff::TXO || record.number == biff::STRING
                       ? record.number
                   : record.number == biff::CONTINUE ? previous
                                                     : -1;
    if (biff2_ && record.number >= biff::BLANK_BIFF2 && record.number <= biff::STRING_BIFF2)
        return on_biff2_cell(record);
    switch (record.number) {
    case biff::BOF:
    case biff::BOF_BIFF2:
    case biff::BOF_BIFF3:
    case biff::BOF_BIFF4: return on_bof(record);
    case biff::EOF_RECORD:
        if (wants_notes_ && depth_ > 0) notes_.end_substream(depth_);
        if (depth_ > 0 && --depth_ == 0) current_sheet_ = -1;
        return flush_cell();
    case biff::CODEPAGE:
        if (record.length >= 2) decoder_.set_code_page(biff_code_page(biff::u16(record.data)));
        return 0;
    case biff::DATEMODE:
        context_.date_origin_days = record.length >= 2 && biff::u16(record.data) != 0 ? kDays1900To1904 : 0;
        return 0;
    case biff::BOUNDSHEET: return on_boundsheet(record);
    case biff::XF: return on_xf(record);
    case biff::XF_BIFF3:
    case biff::XF_BIFF4: return old_worksheet_ ? on_old_xf(record) : 0;
    case biff::FORMAT: return on_format(record);
    case biff::FORMAT_BIFF3: return old_worksheet_ ? on_format(record) : 0;
    case biff::NAME:
    case biff::SUPBOOK:
    case biff::STYLE:
    case biff::NAMECMT: return on_listed_name(record);
    case biff::SST: return sst_.start(record.data, record.length);
    case biff::CONTINUE:
        if (previous == biff::SST) return sst_.append(report_, record.data, record.length);
        if (previous == biff::TXO) return wants_notes_ && biff8_ ? notes_.on_continue(record) : 0;
        return previous == biff::STRING ? on_string_continued(record) : 0;
    case biff::NUMBER: return on_number(record);
    case biff::RK: return on_rk(record);
    case biff::MULRK: return on_mulrk(record);
    case biff::LABELSST: return on_labelsst(record);
    case biff::LABEL:
    case biff::RSTRING: return on_label(record);
    case biff::BLANK: return on_blank(record);
    case biff::BOOLERR: return on_boolerr(record);
    case biff::FORMULA:
    case biff::FORMULA_BIFF3:
    case biff::FORMULA_BIFF4: return on_formula(record);
    case biff::STRING: return on_string(record);
    // The texts outside the cells are read in the Excel 97-2003 layouts.
    default: return wants_notes_ && biff8_ ? on_note_record(record) : 0;
    }
}

int BiffWorkbookLoader::on_note_record(const biff::Record &record) {
    switch (record.number) {
    case biff::MSODRAWING: notes_.on_drawing(record); return 0;
    case biff::OBJ: notes_.on_obj(record); return 0;
    case biff::TXO: return notes_.on_txo(record);
    case biff::NOTE: return notes_.on_note(record);
    default: return 0;
    }
}

int BiffWorkbookLoader::finish() {
    if (int rc = flush_cell()) return rc;
    if (last_record_ != biff::SST) return 0;
    last_record_ = -1;
    return sst_.parse(context_.shared_strings, report_);
}

// The first BOF of a stream opens the globals; every later one at the top
// level opens the substream of the next sheet of the list.  A BOF inside a
// substream opens a chart embedded in it.  An Excel 2.x, 3.0 or 4.0 file
// is one worksheet, whose cells follow its BOF; an Excel 4.0 workbook,
// which bundles its sheets otherwise, is not read.
int BiffWorkbookLoader::on_bof(const biff::Record &record) {
    const uint16_t version = record.length >= 2 ? biff::u16(record.data) : 0;
    const uint16_t type = record.length >= 4 ? biff::u16(record.data + 2) : 0;
    if (depth_++ > 0) {
        if (wants_notes_) notes_.begin_substream(current_sheet_, depth_, false);
        return 0;
    }
    if (record.number != biff::BOF) {
        if (globals_seen_) return 0;
        if (type != biff::BOF_WORKSHEET) return OZW_NOT_A_BOOK;
        globals_seen_ = true;
        biff8_ = false;
        old_worksheet_ = true;
        biff2_ = record.number == biff::BOF_BIFF2;
        try {
            // An Excel 2.x cell names its number format itself: cell format
            // n stands for number format n.
            for (uint32_t format = 0; biff2_ && format < kBiff2Formats; ++format) {
                XfRecord xf;
                xf.num_format = format;
                styles_.xfs.push_back(xf);
            }
            context_.sheet_names.push_back(kOldWorksheetName);
        } catch (const std::bad_alloc &) {
            return OXLS_ERR_MEMORY;
        }
        current_sheet_ = 0;
        return sink_.begin_sheet(context_, current_sheet_, 0);
    }
    if (!globals_seen_) {
        globals_seen_ = true;
        biff8_ = version >= biff::BIFF8_VERSION;
        return 0;
    }
    int index = sheet_substreams_++;
    auto at = std::find(sheet_positions_.begin(), sheet_positions_.end(), static_cast<uint32_t>(record.offset));
    if (at != sheet_positions_.end()) index = static_cast<int>(at - sheet_positions_.begin());
    current_sheet_ = type == biff::BOF_WORKSHEET ? index : -1;
    // Texts outside the cells go to a listed worksheet or chart sheet.
    const bool listed = static_cast<size_t>(index) < context_.sheet_names.size();
    if (wants_notes_ && listed && (current_sheet_ >= 0 || type == biff::BOF_CHART))
        notes_.begin_substream(index, depth_, type == biff::BOF_CHART);
    return current_sheet_ < 0 ? 0 : sink_.begin_sheet(context_, current_sheet_, 0);
}

// A sheet of the list: the position of its BOF record, its state and kind,
// and its name (8-bit in the book's code page, or UTF-16).  A BOUNDSHEET
// after the sheets' substreams have begun belongs to another book's
// globals: the stream ends there.
int BiffWorkbookLoader::on_boundsheet(const biff::Record &record) {
    if (sheet_substreams_ > 0) return biff::END_OF_STREAM;
    if (record.length < 8) return 0;
    const unsigned char *d = record.data;
    BiffStringField field;
    field.chars = d[6];
    if (d[7] <= 1) {
        biff_string_field(d, record.length, 6, 1, true, field);
    } else {
        // The Excel 5.0/95 layout: the name starts right after its length.
        field.offset = 7;
        field.chars = std::min<size_t>(field.chars, record.length - 7u);
    }
    std::string name = biff_field_text(d, field, decoder_);
    if (name.size() > XLS_SHEET_LEN) name.clear();
    try {
        sheet_positions_.push_back(biff::u32(d));
        context_.sheet_names.push_back(std::move(name));
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    return 0;
}

// A cell format: its number format number, or BIFF_STYLE_FORMAT for a
// format that only defines a style.
int BiffWorkbookLoader::on_xf(const biff::Record &record) {
    if (record.length < 5) return 0;
    XfRecord xf;
    xf.font = biff::u16(record.data);
    xf.num_format = (record.data[4] & kStyleFormatBit) ? BIFF_STYLE_FORMAT : biff::u16(record.data + 2);
    try {
        styles_.xfs.push_back(xf);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    return 0;
}

// The cell format of an Excel 3.0 or 4.0 worksheet: one byte each for its
// font and its number format's place in the worksheet's format list.
int BiffWorkbookLoader::on_old_xf(const biff::Record &record) {
    if (record.length < 3) return 0;
    XfRecord xf;
    xf.font = record.data[0];
    xf.num_format = (record.data[2] & kStyleFormatBit) ? BIFF_STYLE_FORMAT : record.data[1];
    try {
        styles_.xfs.push_back(xf);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    return 0;
}

// A number format of the book: its number and code.  An Excel 3.0 or 4.0
// worksheet numbers its formats by their order (an Excel 3.0 format record
// holds the code alone).
int BiffWorkbookLoader::on_format(const biff::Record &record) {
    BiffStringField field;
    const size_t code_at = record.number == biff::FORMAT_BIFF3 ? 0 : 2;
    if (!biff_string_field(record.data, record.length, code_at, biff8_ ? 2 : 1, biff8_, field))
        return 0;
    field.chars = std::min(field.chars, field.wide ? kMaxFormatCode / 2 : kMaxFormatCode);
    if (styles_.number_formats.size() >= static_cast<size_t>(OZW_MAX_NUMFORMAT))
        return ozw_set_error(report_, OZW_LIMIT_REACHED, OXLS_03009, OZW_MAX_NUMFORMAT, "OZW_MAX_NUMFORMAT");
    NumberFormat format;
    format.id = old_worksheet_ ? old_formats_++ : biff::u16(record.data);
    try {
        format.code = biff_field_text(record.data, field, decoder_);
        format.format_id = ozw_classify_format_code(format.code);
        styles_.number_formats.push_back(std::move(format));
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    return 0;
}
