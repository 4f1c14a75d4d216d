// The cell records of a worksheet substream.  Every cell record starts
// with its row, column and cell-format index (16 bits each).
#include "xls/biff_workbook.h"

#include "messages.h"
#include "result_codes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr size_t kCellHeader = 6;
constexpr uint16_t kNonNumericResult = 0xFFFF;
// Kinds of a formula result that is not a number (first result byte).
constexpr unsigned char kResultText = 0;
constexpr unsigned char kResultBoolean = 1;
constexpr unsigned char kResultEmptyText = 3;

// An RK value: bit 1 set means a signed 30-bit integer in bits 2-31, clear
// means the upper 30 bits of an IEEE double; bit 0 set divides by 100.
double rk_number(uint32_t rk) {
    double value;
    if (rk & 2) {
        value = static_cast<double>(static_cast<int32_t>(rk) >> 2);
    } else {
        const unsigned char bytes[8] = {0, 0, 0, 0, static_cast<unsigned char>(rk & 0xFC),
                                        static_cast<unsigned char>(rk >> 8), static_cast<unsigned char>(rk >> 16),
                                        static_cast<unsigned char>(rk >> 24)};
        value = biff::f64(bytes);
    }
    return (rk & 1) ? value / 100 : value;
}

std::string_view boolean_text(unsigned char value) { return value ? "TRUE" : "FALSE"; }

}  // namespace

bool BiffWorkbookLoader::in_worksheet() const { return current_sheet_ >= 0 && depth_ == 1; }

int BiffWorkbookLoader::cell_at(const CellLabels &labels, unsigned row, unsigned column, long long index,
                                long long limit) {
    if (row >= static_cast<unsigned>(XLS_ROW_LIMIT) || column >= static_cast<unsigned>(XLS_COLUMN_LIMIT))
        return ozw_set_error(report_, OZW_LIMIT_REACHED, OXLS_03600, labels.overflow);
    if (static_cast<size_t>(current_sheet_) >= context_.sheet_names.size())
        return ozw_set_error(report_, OZW_LIMIT_REACHED, OXLS_03009, report_ ? report_->sheet_capacity : 0, labels.sheet);
    if (labels.index && index >= limit)
        return ozw_set_error(report_, OZW_LIMIT_REACHED, OXLS_03009, static_cast<int>(limit), labels.index);
    if (int rc = flush_cell()) return rc;
    cell_pending_ = true;
    pending_ = BookCell{};
    pending_.sheet = current_sheet_;
    pending_.row = static_cast<int>(row);
    pending_.column = static_cast<int>(column);
    return 0;
}

// A number keeps its cell format, whose number format gives the kind of
// cell it is stored as.  A finite number of a style the sink has no use
// for is passed over.
void BiffWorkbookLoader::take_number(unsigned format, double value) {
    pending_.style = format;
    pending_.value.kind = CellValue::NUMBER;
    pending_.value.number = value;
    if (std::isfinite(value) && !sink_.wants_numbers(context_, format)) cell_pending_ = false;
}

int BiffWorkbookLoader::take_text(std::string_view text) {
    if (text.size() > XLS_CELL_UTF8_LEN) return OZW_LIMIT_REACHED;
    pending_.value.kind = CellValue::TEXT;
    pending_.value.text = text;
    return 0;
}

int BiffWorkbookLoader::on_number(const biff::Record &record) {
    static const CellLabels labels{"BIFF_NUMBER row/column overflow", "BIFF_NUMBER sheet", nullptr};
    if (!in_worksheet() || record.length < kCellHeader + 8) return 0;
    const unsigned char *d = record.data;
    if (int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), 0, 0)) return rc;
    take_number(biff::u16(d + 4), biff::f64(d + 6));
    return 0;
}

int BiffWorkbookLoader::on_rk(const biff::Record &record) {
    static const CellLabels labels{"BIFF_LABELSST row/column overflow", "BIFF_RK sheet", "BIFF_RK"};
    if (!in_worksheet() || record.length < kCellHeader + 4) return 0;
    const unsigned char *d = record.data;
    const unsigned format = biff::u16(d + 4);
    if (int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), format, static_cast<long long>(styles_.xfs.size())))
        return rc;
    take_number(format, rk_number(biff::u32(d + 6)));
    return 0;
}

// Several RK numbers in one row: the first column, then a format index and
// an RK value per cell, then the last column.
int BiffWorkbookLoader::on_mulrk(const biff::Record &record) {
    static const CellLabels labels{"BIFF_MULRK row/column overflow", "BIFF_MULRK sheet", "BIFF_MULRK"};
    if (!in_worksheet() || record.length < 6) return 0;
    const unsigned char *d = record.data;
    const unsigned row = biff::u16(d);
    const unsigned first = biff::u16(d + 2);
    const size_t count = (record.length - 6u) / 6;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char *group = d + 4 + 6 * i;
        const unsigned format = biff::u16(group);
        if (int rc = cell_at(labels, row, static_cast<unsigned>(first + i), format,
                             static_cast<long long>(styles_.xfs.size())))
            return rc;
        take_number(format, rk_number(biff::u32(group + 2)));
    }
    return 0;
}

int BiffWorkbookLoader::on_labelsst(const biff::Record &record) {
    static const CellLabels labels{"BIFF_LABELSST row/column overflow", "BIFF_LABELSST sheet", "BIFF_LABELSST sst"};
    if (!in_worksheet() || record.length < kCellHeader + 4) return 0;
    const unsigned char *d = record.data;
    const uint32_t index = biff::u32(d + 6);
    if (int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), index,
                         static_cast<long long>(context_.shared_strings.size())))
        return rc;
    pending_.value.kind = CellValue::SHARED;
    pending_.value.shared = static_cast<int>(index);
    return 0;
}

// A text cell (LABEL, or RSTRING with formatting runs after the text): a
// 16-bit character count, then in Excel 97-2003 books an option byte and
// 8-bit or 16-bit characters, in older books bytes of the code page.
int BiffWorkbookLoader::on_label(const biff::Record &record) {
    static const CellLabels labels{"BIFF_FORMULA row/column overflow", "BIFF_FORMULA sheet", nullptr};
    BiffStringField field;
    if (!in_worksheet() || !biff_string_field(record.data, record.length, kCellHeader, 2, biff8_, field)) return 0;
    const unsigned char *d = record.data;
    if (int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), 0, 0)) return rc;
    text_ = biff_field_text(d, field, decoder_);
    return take_text(text_);
}

// A formatted cell without a value: empty, but it extends its row.
int BiffWorkbookLoader::on_blank(const biff::Record &record) {
    static const CellLabels labels{"BIFF_LABELSST row/column overflow", "BIFF_BLANK sheet", nullptr};
    if (!in_worksheet() || record.length < kCellHeader) return 0;
    return cell_at(labels, biff::u16(record.data), biff::u16(record.data + 2), 0, 0);
}

// A boolean shows as TRUE or FALSE; an error value leaves no cell.
int BiffWorkbookLoader::on_boolerr(const biff::Record &record) {
    static const CellLabels labels{"BIFF_BOOLERR row/column overflow", "BIFF_BOOLERR sheet", nullptr};
    if (!in_worksheet() || record.length < kCellHeader + 2 || record.data[7] != 0) return 0;
    const unsigned char *d = record.data;
    if (int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), 0, 0)) return rc;
    return take_text(boolean_text(d[6]));
}

// A formula keeps only its last result: a number, a boolean shown as TRUE
// or FALSE, an empty text, or a text that the STRING record after it
// carries.  An error result leaves no cell.
int BiffWorkbookLoader::on_formula(const biff::Record &record) {
    static const CellLabels labels{"BIFF_FORMULA row/column overflow", "BIFF_FORMULA sheet", "BIFF_FORMULA"};
    string_pending_ = false;
    if (!in_worksheet() || record.length < kCellHeader + 8) return 0;
    const unsigned char *d = record.data;
    const bool numeric = biff::u16(d + 12) != kNonNumericResult;
    if (!numeric && d[6] != kResultText && d[6] != kResultBoolean && d[6] != kResultEmptyText) return 0;
    const unsigned row = biff::u16(d);
    const unsigned column = biff::u16(d + 2);
    const unsigned format = biff::u16(d + 4);
    if (int rc = cell_at(labels, row, column, format, static_cast<long long>(styles_.xfs.size()))) return rc;
    if (numeric) {
        take_number(format, biff::f64(d + 6));
        return 0;
    }
    if (d[6] == kResultBoolean) return take_text(boolean_text(d[8]));
    if (d[6] == kResultEmptyText) return take_text("");
    string_pending_ = true;
    string_sheet_ = current_sheet_;
    string_row_ = row;
    string_column_ = column;
    return 0;
}

// The text result of the formula just before.  A text too long for one
// record goes on in CONTINUE records, each starting with an option byte
// (bit 0: 16-bit characters).
int BiffWorkbookLoader::on_string(const biff::Record &record) {
    BiffStringField field;
    if (!string_pending_ || string_sheet_ != current_sheet_ ||
        !biff_string_field(record.data, record.length, 0, 2, biff8_, field))
        return 0;
    string_pending_ = false;
    string_chars_left_ = biff::u16(record.data) - field.chars;
    string_text_ = biff_field_text(record.data, field, decoder_);
    return take_formula_text();
}

int BiffWorkbookLoader::on_string_continued(const biff::Record &record) {
    if (string_chars_left_ == 0 || record.length < 1) return 0;
    BiffStringField field;
    field.wide = (record.data[0] & 1) != 0;
    field.offset = 1;
    field.chars = std::min<size_t>(string_chars_left_, (record.length - 1u) / (field.wide ? 2u : 1u));
    string_chars_left_ -= field.chars;
    string_text_ += biff_field_text(record.data, field, decoder_);
    return take_formula_text();
}

int BiffWorkbookLoader::flush_cell() {
    if (!cell_pending_) return 0;
    cell_pending_ = false;
    return sink_.cell(context_, pending_);
}

// The formula's cell is the one still waiting to be handed over, unless a
// cell record came between them.
int BiffWorkbookLoader::take_formula_text() {
    const bool waiting = cell_pending_ && pending_.sheet == string_sheet_ &&
                         pending_.row == static_cast<int>(string_row_) &&
                         pending_.column == static_cast<int>(string_column_);
    return waiting ? take_text(string_text_) : 0;
}
