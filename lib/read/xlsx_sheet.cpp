// A worksheet part: rows, cells with their values and formulas, row
// heights, merged areas, and the XML around <sheetData> for writing the
// book back.
//
// Cells are placed by their r attribute; a cell without one follows the
// previous cell of its row, and a row without one follows the previous row.
// Cells beyond row 1048576 or column XFD are left out without allocating
// anything.  The dimension element is not looked at: the table grows with
// the cells actually met.
#include "read/cell_name.h"
#include "read/cell_sink.h"
#include "read/value_format.h"
#include "read/xlsx_cell_value.h"
#include "read/xlsx_elements.h"
#include "read/xlsx_parts.h"
#include "read/xml_scanner.h"
#include "read/xml_text.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool is_ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

class WorksheetHandler : public XmlHandler {
public:
    // With a sink the cells go to it, and nothing is kept for writing the
    // book back; else they fill the sheet's cell table.
    WorksheetHandler(XlsxReadState &state, int sheet_index, std::string_view part, SheetCellSink *sink)
        : state_(state), sheet_index_(sheet_index), sheet_(state.book->sheets[sheet_index]), part_(part),
          styles_(ozw_styles(state.book)), sink_(sink) {}

    int start(const XmlTag &tag, const XmlScanner &scanner) override {
        switch (tag.id) {
        case EL_SHEET_DATA:
            return sink_ ? 0 : keep_xml_before(tag);
        case EL_ROW:
            start_row(tag.attributes);
            break;
        case EL_C:
            start_cell(tag.attributes);
            break;
        case EL_V:
        case EL_F:
            if (scanner.open_id(1) == EL_C) text_.clear();
            break;
        case EL_IS:
            if (scanner.open_id(1) == EL_C) cell_.inline_text.clear();
            break;
        case EL_MERGE_CELL:
            return sink_ ? 0 : add_merge(tag.attributes);
        case EL_SHEET_FORMAT_PR:
            default_row_height(tag.attributes);
            break;
        default:
            break;
        }
        return 0;
    }

    int end(const XmlTag &tag, const XmlScanner &scanner) override {
        switch (tag.id) {
        case EL_SHEET_DATA:
            return sink_ ? 0 : keep_xml_after(tag);
        case EL_V:
            if (scanner.open_id() == EL_C) {
                cell_.value.swap(text_);
                cell_.has_value = true;
            }
            break;
        case EL_F:
            if (scanner.open_id() == EL_C) cell_.formula.swap(text_);
            break;
        case EL_IS:
            if (scanner.open_id() == EL_C) cell_.has_inline = true;
            break;
        case EL_C:
            return finish_cell();
        default:
            break;
        }
        return 0;
    }

    int text(std::string_view raw, bool literal, const XmlScanner &scanner) override {
        int id = scanner.open_id();
        std::string *target = nullptr;
        if ((id == EL_V || id == EL_F) && scanner.open_id(1) == EL_C) {
            target = &text_;
        } else if (id == EL_T && scanner.inside(EL_IS) && !scanner.inside(EL_RPH)) {
            target = &cell_.inline_text;   // inline string runs, joined
        }
        if (!target) return 0;
        if (literal) target->append(raw);
        else xml_decode_text(raw, *target);
        return 0;
    }

private:
    int keep_xml_before(const XmlTag &tag) {
        SheetExtras *extras = ozw_sheet_extras(&sheet_);
        if (!extras) return -2;
        extras->xml_before_data.assign(part_.substr(0, tag.begin));
        return 0;
    }

    int keep_xml_after(const XmlTag &tag) {
        SheetExtras *extras = ozw_sheet_extras(&sheet_);
        if (!extras) return -2;
        extras->xml_after_data.assign(part_.substr(tag.end));
        return 0;
    }

    void start_row(std::string_view rest) {
        std::string_view name, value, number_text;
        bool numbered = false;
        row_height_ = 0;
        row_hidden_ = false;
        while (xml_next_attribute(rest, name, value)) {
            if (name == "r") {
                numbered = true;
                number_text = value;
            } else if (name == "ht") {
                row_height_ = std::strtod(std::string(value).c_str(), nullptr);
            } else if (name == "hidden") {
                row_hidden_ = value == "1" || value == "true";
            }
        }
        if (numbered) {
            long long number = 0;
            row_valid_ = xml_unsigned(number_text, OZW_MAX_ROW + 1, number) && number > 0;
            if (row_valid_) row_ = static_cast<int>(number) - 1;
        } else if (row_valid_ && row_ < OZW_MAX_ROW) {
            ++row_;
        } else {
            row_valid_ = false;
        }
        column_ = -1;
        attribute_row_ = row_valid_ && (row_height_ > 0 || row_hidden_) ? row_ : -1;
    }

    void start_cell(std::string_view rest) {
        cell_.reset();
        std::string_view name, value;
        bool named = false;
        while (xml_next_attribute(rest, name, value)) {
            if (name == "r") {
                named = true;
                if (auto pos = ozw_parse_cell_name(value)) {
                    cell_.row = pos->row;
                    cell_.column = pos->column;
                    cell_.placed = true;
                }
            } else if (name == "s") {
                long long style = 0;
                if (xml_unsigned(value, 0x7FFFFFFF, style)) cell_.style = static_cast<unsigned>(style);
            } else if (name == "t") {
                cell_.type = xlsx_value_type(value);
            }
        }
        if (!named && row_valid_ && column_ < OZW_MAX_COLUMN) {
            // Cells before any row element start at the first row.
            cell_.row = row_ < 0 ? 0 : row_;
            cell_.column = column_ + 1;
            cell_.placed = true;
        }
        if (cell_.placed) {
            row_ = cell_.row;
            column_ = cell_.column;
        }
    }

    // The cell record at the pending cell's place, charged against the
    // book's slot allowance; null when the allowance is spent or memory
    // runs out.
    XLS_CELL *place_cell() {
        long long rows_before = sheet_.row_count;
        long long cells_before = cell_.row < sheet_.row_count ? sheet_.rows[cell_.row].cell_count : 0;
        long long rows_after = std::max<long long>(rows_before, cell_.row + 1);
        long long cells_after = std::max<long long>(cells_before, cell_.column + 1);
        long long cost = (rows_after - rows_before) + (cells_after - cells_before);
        if (cost > state_.slots_left) return nullptr;
        XLS_CELL *cell = ozw_ensure_cell(&sheet_, cell_.row, cell_.column);
        if (!cell) return nullptr;
        state_.slots_left -= cost;
        if (cell_.row == attribute_row_) {
            XLS_ROW &row = sheet_.rows[cell_.row];
            row.height = static_cast<unsigned short>(std::min(row_height_ * 100.0, 65535.0));
            row.hidden = row_hidden_ ? 1 : 0;
            attribute_row_ = -1;
        }
        return cell;
    }

    int finish_cell() {
        if (!cell_.placed) return 0;
        bool has_content = cell_.has_value || cell_.has_inline || !cell_.formula.empty();
        if (!has_content && cell_.style == 0) return 0;
        int kind = cell_.type == VALUE_NUMBER ? number_kind(cell_.style) : OZW_KIND_GENERAL;
        if (sink_) {
            // A value written in ASCII makes a number, or a text of ASCII:
            // either way its texts hold no other characters than a number's.
            if (cell_.type == VALUE_NUMBER && is_ascii(cell_.value) && !sink_->wants_numbers(*state_.book, cell_.style))
                return 0;
            XLS_CELL &value = sink_cell_.clear();
            value.style = cell_.style;
            if (int rc = xlsx_store_cell_value(value, cell_, kind, state_.date_origin_days)) return rc;
            return sink_->cell(*state_.book, sheet_index_, cell_.row, cell_.column, value);
        }
        XLS_CELL *cell = place_cell();
        if (!cell) return -2;
        ozw_store_empty(*cell);
        std::free(cell->extra);   // a cell met twice keeps nothing of the first
        cell->extra = nullptr;
        cell->style = cell_.style;
        return xlsx_store_cell_value(*cell, cell_, kind, state_.date_origin_days);
    }

    // The kind numbers of a style become, worked out once per style: books
    // use few styles for many cells.
    int number_kind(unsigned style) {
        if (style >= kinds_.size()) {
            if (!styles_ || style >= styles_->xfs.size()) return OZW_KIND_GENERAL;
            kinds_.resize(styles_->xfs.size(), KIND_UNKNOWN);
        }
        if (kinds_[style] == KIND_UNKNOWN) kinds_[style] = ozw_style_cell_kind(styles_, style);
        return kinds_[style];
    }

    int add_merge(std::string_view rest) {
        CellRange range;
        if (ozw_parse_range(xml_attribute(rest, "ref"), range) != OZW_RANGE_OK) return 0;
        SheetExtras *extras = ozw_sheet_extras(&sheet_);
        if (!extras) return -2;
        extras->merges.push_back({std::min(range.first.row, range.last.row),
                                  std::min(range.first.column, range.last.column),
                                  std::max(range.first.row, range.last.row),
                                  std::max(range.first.column, range.last.column)});
        return 0;
    }

    void default_row_height(std::string_view rest) {
        std::string_view height = xml_attribute(rest, "defaultRowHeight");
        if (height.empty()) return;
        double points = std::strtod(std::string(height).c_str(), nullptr);
        if (points > 0 && points < 410) sheet_.default_row_height = static_cast<int>(points * 100 + 0.5);
    }

    XlsxReadState &state_;
    int sheet_index_;
    XLS_SHEET &sheet_;
    std::string_view part_;
    const StyleTables *styles_;
    SheetCellSink *sink_;
    SinkCell sink_cell_;
    int row_ = -1;            // current row index
    bool row_valid_ = true;   // false after a row numbered beyond the sheet
    int column_ = -1;         // column of the previous cell in the row
    double row_height_ = 0;
    bool row_hidden_ = false;
    int attribute_row_ = -1;  // row still waiting for its height and hidden flag
    PendingCell cell_;
    std::string text_;        // text of the open <v> or <f>
    static constexpr int KIND_UNKNOWN = -100;
    std::vector<int> kinds_;  // number kind by style index
};

}  // namespace

int xlsx_parse_worksheet(XlsxReadState &state, int sheet_index, std::string_view text, SheetCellSink *sink) {
    long long earned = static_cast<long long>(text.size()) * XLSX_SLOTS_PER_BYTE;
    state.slots_left += earned;
    WorksheetHandler handler(state, sheet_index, text, sink);
    XmlScanner scanner(xlsx_element_id);
    return scanner.scan(text, handler);
}
