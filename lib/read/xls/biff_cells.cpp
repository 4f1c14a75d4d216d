// The cell records of a worksheet substream.  Every cell record starts
// with its row, column and cell-format index (16 bits each).
#include "xls/biff_workbook.h"

#include "book_record.h"
#include "messages.h"
#include "format_id.h"
#include "value_store.h"

#include <algorithm>

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

const char *boolean_text(unsigned char value) { return value ? "TRUE" : "FALSE"; }

}  // namespace

bool BiffWorkbookLoader::in_worksheet() const { return current_sheet_ >= 0 && depth_ == 1; }

int BiffWorkbookLoader::cell_at(const CellLabels &labels, unsigned row, unsigned column, long long index,
                                long long limit, XLS_CELL *&cell) {
    cell = nullptr;
    if (row >= static_cast<unsigned>(book_->row_limit) || column >= static_cast<unsigned>(book_->column_limit))
        return ozw_set_error(book_, -9, OXLS_03600, labels.overflow);
    if (current_sheet_ >= book_->sheet_count)
        return ozw_set_error(book_, -9, OXLS_03009, book_->sheet_capacity, labels.sheet);
    if (labels.index && index >= limit)
        return ozw_set_error(book_, -9, OXLS_03009, static_cast<int>(limit), labels.index);
    if (sink_) {
        if (int rc = flush_cell()) return rc;
        cell = &sink_cell_->clear();
        cell_pending_ = true;
        pending_ = SheetCell{current_sheet_, static_cast<int>(row), static_cast<int>(column), cell, false, 0.0,
                             date_origin_days_ != 0};
        return 0;
    }
    XLS_SHEET *sheet = &book_->sheets[current_sheet_];
    const int row_count = sheet->row_count;
    const int cell_count = static_cast<int>(row) < row_count ? sheet->rows[row].cell_count : 0;
    long long growth = 0;
    if (static_cast<int>(row) >= row_count) growth += row + 1LL - row_count;
    if (static_cast<int>(column) >= cell_count) growth += column + 1LL - cell_count;
    if (cell_slots_ + growth > BIFF_MAX_CELL_SLOTS)
        return ozw_set_error(book_, -9, OXLS_03009, static_cast<int>(BIFF_MAX_CELL_SLOTS), "BIFF cell table");
    cell_slots_ += growth;
    cell = ozw_ensure_cell(sheet, static_cast<int>(row), static_cast<int>(column));
    return cell ? 0 : -2;
}

// A number takes the cell kind its format gives (integer, decimal,
// percentage, date, time); a format index outside the table counts as the
// general format.  Dates of a book counting from 1904 move into the 1900
// system, so that they show the same calendar dates; a time of day alone
// stays as it is.
int BiffWorkbookLoader::store_number(XLS_CELL *cell, unsigned format, double value) {
    if (sink_) {
        cell_pending_ = sink_->wants_numbers(*book_, format);   // else a cell the sink has no use for
        if (!cell_pending_) return 0;
        pending_.is_number = true;
        pending_.number = value;
    }
    const int kind = ozw_style_cell_kind(styles_, format);
    const bool dated = kind == XLS_CELL_DATE || kind == XLS_CELL_DATE_TIME ||
                       ((kind == XLS_CELL_TIME_HM || kind == XLS_CELL_TIME_HMS) && value >= 1);
    if (dated) value += date_origin_days_;
    if (ozw_store_number(*cell, kind, value) == -2) return -2;
    cell->style = format;
    return 0;
}

int BiffWorkbookLoader::store_text(XLS_CELL *cell, const std::string &text) {
    if (text.size() > XLS_CELL_UTF8_LEN) return -9;
    return ozw_store_text(*cell, text) == 0 ? 0 : -2;
}

int BiffWorkbookLoader::on_number(const biff::Record &record) {
    static const CellLabels labels{"BIFF_NUMBER row/column overflow", "BIFF_NUMBER sheet", nullptr};
    if (!in_worksheet() || record.length < kCellHeader + 8) return 0;
    const unsigned char *d = record.data;
    XLS_CELL *cell;
    int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), 0, 0, cell);
    return rc != 0 ? rc : store_number(cell, biff::u16(d + 4), biff::f64(d + 6));
}

int BiffWorkbookLoader::on_rk(const biff::Record &record) {
    static const CellLabels labels{"BIFF_LABELSST row/column overflow", "BIFF_RK sheet", "BIFF_RK"};
    if (!in_worksheet() || record.length < kCellHeader + 4) return 0;
    const unsigned char *d = record.data;
    const unsigned format = biff::u16(d + 4);
    XLS_CELL *cell;
    int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), format, static_cast<long long>(styles_->xfs.size()), cell);
    return rc != 0 ? rc : store_number(cell, format, rk_number(biff::u32(d + 6)));
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
        XLS_CELL *cell;
        int rc = cell_at(labels, row, static_cast<unsigned>(first + i), format,
                         static_cast<long long>(styles_->xfs.size()), cell);
        if (rc == 0) rc = store_number(cell, format, rk_number(biff::u32(group + 2)));
        if (rc != 0) return rc;
    }
    return 0;
}

int BiffWorkbookLoader::on_labelsst(const biff::Record &record) {
    static const CellLabels labels{"BIFF_LABELSST row/column overflow", "BIFF_LABELSST sheet", "BIFF_LABELSST sst"};
    if (!in_worksheet() || record.length < kCellHeader + 4) return 0;
    const unsigned char *d = record.data;
    const uint32_t index = biff::u32(d + 6);
    XLS_CELL *cell;
    int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), index, book_->sst_count, cell);
    if (rc != 0) return rc;
    if (sink_ && !sink_->wants_shared_string(*book_, static_cast<int>(index))) {
        cell_pending_ = false;   // a cell the sink has no use for
        return 0;
    }
    return ozw_store_shared_string(*cell, static_cast<int>(index)) == 0 ? 0 : -2;
}

// A text cell (LABEL, or RSTRING with formatting runs after the text): a
// 16-bit character count, then in Excel 97-2003 books an option byte and
// 8-bit or 16-bit characters, in older books bytes of the code page.
int BiffWorkbookLoader::on_label(const biff::Record &record) {
    static const CellLabels labels{"BIFF_FORMULA row/column overflow", "BIFF_FORMULA sheet", nullptr};
    BiffStringField field;
    if (!in_worksheet() || !biff_string_field(record.data, record.length, kCellHeader, 2, biff8_, field)) return 0;
    const unsigned char *d = record.data;
    XLS_CELL *cell;
    int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), 0, 0, cell);
    return rc != 0 ? rc : store_text(cell, biff_field_text(d, field, codepage_));
}

// A formatted cell without a value: empty, but it extends its row.
int BiffWorkbookLoader::on_blank(const biff::Record &record) {
    static const CellLabels labels{"BIFF_LABELSST row/column overflow", "BIFF_BLANK sheet", nullptr};
    if (!in_worksheet() || record.length < kCellHeader) return 0;
    XLS_CELL *cell;
    int rc = cell_at(labels, biff::u16(record.data), biff::u16(record.data + 2), 0, 0, cell);
    if (rc == 0) ozw_store_empty(*cell);
    return rc;
}

// A boolean shows as TRUE or FALSE; an error value leaves no cell.
int BiffWorkbookLoader::on_boolerr(const biff::Record &record) {
    static const CellLabels labels{"BIFF_BOOLERR row/column overflow", "BIFF_BOOLERR sheet", nullptr};
    if (!in_worksheet() || record.length < kCellHeader + 2 || record.data[7] != 0) return 0;
    const unsigned char *d = record.data;
    XLS_CELL *cell;
    int rc = cell_at(labels, biff::u16(d), biff::u16(d + 2), 0, 0, cell);
    return rc != 0 ? rc : store_text(cell, boolean_text(d[6]));
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
    XLS_CELL *cell;
    int rc = cell_at(labels, row, column, format, static_cast<long long>(styles_->xfs.size()), cell);
    if (rc != 0) return rc;
    if (numeric) return store_number(cell, format, biff::f64(d + 6));
    if (d[6] == kResultBoolean) return store_text(cell, boolean_text(d[8]));
    if (d[6] == kResultEmptyText) return store_text(cell, "");
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
    string_text_ = biff_field_text(record.data, field, codepage_);
    return store_formula_text();
}

int BiffWorkbookLoader::on_string_continued(const biff::Record &record) {
    if (string_chars_left_ == 0 || record.length < 1) return 0;
    BiffStringField field;
    field.wide = (record.data[0] & 1) != 0;
    field.offset = 1;
    field.chars = std::min<size_t>(string_chars_left_, (record.length - 1u) / (field.wide ? 2u : 1u));
    string_chars_left_ -= field.chars;
    string_text_ += biff_field_text(record.data, field, codepage_);
    return store_formula_text();
}

int BiffWorkbookLoader::flush_cell() {
    if (!cell_pending_) return 0;
    cell_pending_ = false;
    return sink_->cell(*book_, pending_);
}

int BiffWorkbookLoader::store_formula_text() {
    if (sink_) {
        // The formula's cell is the one still waiting to be handed over.
        const bool waiting = cell_pending_ && pending_.sheet == string_sheet_ &&
                             pending_.row == static_cast<int>(string_row_) &&
                             pending_.column == static_cast<int>(string_column_);
        return waiting ? store_text(&sink_cell_->cell(), string_text_) : 0;
    }
    XLS_CELL *cell = ozw_ensure_cell(&book_->sheets[string_sheet_], static_cast<int>(string_row_),
                                     static_cast<int>(string_column_));
    return cell ? store_text(cell, string_text_) : -2;
}
