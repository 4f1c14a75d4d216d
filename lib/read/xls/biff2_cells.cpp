// The cell records of an Excel 2.x worksheet.  Each starts with its row and
// column (16 bits each) and three attribute bytes, the second of which
// names the cell's number format (bits 0-5); the reader keeps one cell
// format per number format, so that this number serves as the cell's
// format.  Texts are bytes of the book's code page, counted by one byte.
#include "xls/biff_workbook.h"

#include "result_codes.h"

namespace {

constexpr size_t kCellHeader = 7;
constexpr unsigned char kFormatBits = 0x3F;
constexpr uint16_t kNonNumericResult = 0xFFFF;
constexpr unsigned char kResultText = 0;
constexpr unsigned char kResultBoolean = 1;

}  // namespace

int BiffWorkbookLoader::on_biff2_cell(const biff::Record &record) {
    static const CellLabels labels{"BIFF_CELL row/column overflow", "BIFF_CELL sheet", nullptr};
    const unsigned char *d = record.data;
    if (record.number == biff::STRING_BIFF2) {
        if (!string_pending_ || string_sheet_ != current_sheet_ || record.length < 1) return 0;
        string_pending_ = false;
        BiffStringField field;
        biff_string_field(d, record.length, 0, 1, false, field);
        string_text_ = biff_field_text(d, field, decoder_);
        return take_formula_text();
    }
    string_pending_ = false;
    if (!in_worksheet() || record.length < kCellHeader) return 0;
    const unsigned row = biff::u16(d);
    const unsigned column = biff::u16(d + 2);
    const unsigned format = d[5] & kFormatBits;
    const unsigned char *value = d + kCellHeader;
    const size_t length = record.length - kCellHeader;
    switch (record.number) {
    case biff::BLANK_BIFF2:
        return cell_at(labels, row, column, 0, 0);
    case biff::INTEGER_BIFF2:
        if (length < 2) return 0;
        if (int rc = cell_at(labels, row, column, 0, 0)) return rc;
        take_number(format, biff::u16(value));
        return 0;
    case biff::NUMBER_BIFF2:
        if (length < 8) return 0;
        if (int rc = cell_at(labels, row, column, 0, 0)) return rc;
        take_number(format, biff::f64(value));
        return 0;
    case biff::LABEL_BIFF2: {
        BiffStringField field;
        if (!biff_string_field(d, record.length, kCellHeader, 1, false, field)) return 0;
        if (int rc = cell_at(labels, row, column, 0, 0)) return rc;
        text_ = biff_field_text(d, field, decoder_);
        return take_text(text_);
    }
    case biff::BOOLERR_BIFF2:
        // An error value leaves no cell.
        if (length < 2 || value[1] != 0) return 0;
        if (int rc = cell_at(labels, row, column, 0, 0)) return rc;
        return take_text(value[0] ? "TRUE" : "FALSE");
    case biff::FORMULA_BIFF2: {
        if (length < 8) return 0;
        const bool numeric = biff::u16(value + 6) != kNonNumericResult;
        if (!numeric && value[0] != kResultText && value[0] != kResultBoolean) return 0;
        if (int rc = cell_at(labels, row, column, 0, 0)) return rc;
        if (numeric) {
            take_number(format, biff::f64(value));
            return 0;
        }
        if (value[0] == kResultBoolean) return take_text(value[2] ? "TRUE" : "FALSE");
        string_pending_ = true;
        string_sheet_ = current_sheet_;
        string_row_ = row;
        string_column_ = column;
        return 0;
    }
    default:
        return 0;
    }
}
