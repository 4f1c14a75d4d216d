// A worksheet part: rows, cells with their values and formulas, row
// heights, merged areas, and the XML around <sheetData>, handed to the
// sink.
//
// Cells are placed by their r attribute; a cell without one follows the
// previous cell of its row, and a row without one follows the previous row.
// Cells beyond row 1048576 or column XFD are left out without allocating
// anything.  The dimension element is not looked at: the table grows with
// the cells actually met.
#include "cell_name.h"
#include "xlsx/xlsx_cell_value.h"
#include "xlsx/xlsx_elements.h"
#include "xlsx/xlsx_parts.h"
#include "xlsx/xml_plain_tag.h"
#include "xlsx/xml_scanner.h"
#include "xml_text.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

class WorksheetHandler : public XmlHandler {
public:
    WorksheetHandler(XlsxReadState &state, int sheet_index, std::string_view part, XmlScanner &scanner)
        : state_(state), sheet_index_(sheet_index), part_(part), scanner_(scanner) {}

    // What stopped the plain reading of the rows, when a cell failed.
    int failure() const { return failure_; }

    int start(const XmlTag &tag, const XmlScanner &scanner) override {
        switch (tag.id) {
        case EL_SHEET_DATA:
            if (int rc = sink().xml_before_data(context(), sheet_index_, part_.substr(0, tag.begin))) return rc;
            if (!tag.empty) scanner_.skip_to(read_plain_rows(tag.end));
            return 0;
        case EL_ROW:
            return start_row(start_of<RowStart>(tag.attributes));
        case EL_C:
            start_cell(start_of<CellStart>(tag.attributes));
            break;
        case EL_V:
        case EL_F:
            if (scanner.open_id(1) == EL_C) text_.clear();
            break;
        case EL_IS:
            if (scanner.open_id(1) == EL_C) cell_.inline_buffer.clear();
            break;
        case EL_MERGE_CELL:
            return add_merge(tag.attributes);
        case EL_SHEET_FORMAT_PR:
            return default_row_height(tag.attributes);
        default:
            break;
        }
        return 0;
    }

    int end(const XmlTag &tag, const XmlScanner &scanner) override {
        switch (tag.id) {
        case EL_SHEET_DATA:
            return sink().xml_after_data(context(), sheet_index_, part_.substr(tag.end));
        case EL_V:
            if (scanner.open_id() == EL_C) {
                cell_.value_buffer.swap(text_);
                cell_.value = cell_.value_buffer;
                cell_.has_value = true;
            }
            break;
        case EL_F:
            if (scanner.open_id() == EL_C) cell_.formula.swap(text_);
            break;
        case EL_IS:
            if (scanner.open_id() == EL_C) {
                cell_.inline_text = cell_.inline_buffer;
                cell_.has_inline = true;
            }
            break;
        case EL_C:
            if (cell_.has_value && passed_over(cell_.type, cell_.value, cell_.style)) return 0;
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
            target = &cell_.inline_buffer;   // inline string runs, joined
        }
        if (!target) return 0;
        if (literal) target->append(raw);
        else xml_decode_text(raw, *target);
        return 0;
    }

private:
    // What a cell's start tag says.  The name is kept unread: a cell passed
    // over needs no place, and the next cell names its own.
    struct CellStart {
        std::string_view name;
        bool named = false;
        unsigned style = 0;
        XlsxValueType type = VALUE_NUMBER;

        void take(std::string_view attribute, std::string_view value) {
            if (attribute == "r") {
                named = true;
                name = value;
            } else if (attribute == "s") {
                long long number = 0;
                if (xml_unsigned(value, 0x7FFFFFFF, number)) style = static_cast<unsigned>(number);
            } else if (attribute == "t") {
                type = xlsx_value_type(value);
            }
        }
    };

    // What a row's start tag says.
    struct RowStart {
        std::string_view number;
        bool numbered = false;
        double height = 0;
        bool hidden = false;

        void take(std::string_view attribute, std::string_view value) {
            if (attribute == "r") {
                numbered = true;
                number = value;
            } else if (attribute == "ht") {
                height = std::strtod(std::string(value).c_str(), nullptr);
            } else if (attribute == "hidden") {
                hidden = value == "1" || value == "true";
            }
        }
    };

    // What a start tag of any shape says, its attributes walked one by one.
    template <class Start>
    static Start start_of(std::string_view attributes) {
        Start start;
        std::string_view name, value;
        while (xml_next_attribute(attributes, name, value)) start.take(name, value);
        return start;
    }

    // Reads the rows and cells of <sheetData> from `from` on for as long as
    // they have the plain shape producers write: <row>, and <c> holding
    // <v>, <f> and <is> with <t> runs, with no prefixes, comments or other
    // markup.  Each cell is taken exactly as the general scan takes it.
    // Returns where the general scan goes on: the first markup of another
    // shape (a cell is then left whole to it), or </sheetData>; the end of
    // the text when a cell failed.
    size_t read_plain_rows(size_t from) {
        size_t at = from;
        XmlPlainTag tag;
        for (;;) {
            const size_t lt = xml_next_tag(part_, at);
            if (lt == std::string_view::npos) return at;
            CellStart start;
            RowStart row;
            const auto take_cell = [&start](std::string_view name, std::string_view value) { start.take(name, value); };
            const auto take_row = [&row](std::string_view name, std::string_view value) { row.take(name, value); };
            bool cell = xml_starts_at(part_, lt, "<c") && xml_plain_attributes(part_, lt + 2, tag, take_cell);
            bool row_start = !cell && xml_starts_at(part_, lt, "<row") && xml_plain_attributes(part_, lt + 4, tag, take_row);
            if (!cell && !row_start) {
                if (!xml_plain_tag(part_, lt, tag)) return lt;
                cell = tag.name == "c" && !tag.closing;
                if (cell) start = start_of<CellStart>(tag.attributes);
                row_start = tag.name == "row" && !tag.closing;
                if (row_start) row = start_of<RowStart>(tag.attributes);
            }
            if (cell) {
                int rc = 0;
                const size_t end = read_plain_cell(tag, start, rc);
                if (end == std::string_view::npos) return lt;
                if (rc) {
                    failure_ = rc;   // the scan ends here with this result
                    return part_.size();
                }
                at = end;
            } else if (row_start || (tag.name == "row" && tag.closing)) {
                if (int rc = row_start ? start_row(row) : 0) {
                    failure_ = rc;
                    return part_.size();
                }
                at = tag.end;
            } else {
                return lt;
            }
        }
    }

    // Reads the cell whose start tag is `c`, saying `start`, and hands it
    // to the sink (`rc` its result) when its content has the plain shape;
    // returns the offset after its end, or npos (and nothing is changed)
    // when the general scan must read it.
    size_t read_plain_cell(const XmlPlainTag &c, const CellStart &start, int &rc) {
        std::string_view value, formula, runs[8];
        bool has_value = false, has_formula = false, has_inline = false;
        size_t run_count = 0;
        size_t at = c.end;
        XmlPlainTag tag;
        // The usual content, <v>text</v>, is recognised without a general
        // look at each tag.
        if (!c.empty && xml_starts_at(part_, at, "<v>")) {
            const size_t lt = xml_next_tag(part_, at + 3);
            if (lt != std::string_view::npos && xml_starts_at(part_, lt, "</v>")) {
                value = part_.substr(at + 3, lt - at - 3);
                has_value = true;
                at = lt + 4;
            }
        }
        if (!c.empty && xml_starts_at(part_, at, "</c>")) {
            at += 4;
        } else if (!c.empty) {
            for (;;) {
                const size_t lt = xml_next_tag(part_, at);
                if (lt == std::string_view::npos || !xml_plain_tag(part_, lt, tag)) return std::string_view::npos;
                if (tag.closing) {
                    if (tag.name != "c") return std::string_view::npos;
                    at = tag.end;
                    break;
                }
                if (tag.name == "v" || tag.name == "f") {
                    std::string_view content;
                    at = xml_plain_element_text(part_, tag, content);
                    if (at == std::string_view::npos) return at;
                    (tag.name == "v" ? value : formula) = content;
                    (tag.name == "v" ? has_value : has_formula) = true;
                } else if (tag.name == "is") {
                    has_inline = true;
                    run_count = 0;
                    if (!tag.empty) {
                        at = inline_runs(tag.end, runs, run_count);
                        if (at == std::string_view::npos) return at;
                    } else {
                        at = tag.end;
                    }
                } else {
                    return std::string_view::npos;
                }
            }
        }
        if (has_value && passed_over(start.type, value, start.style)) {
            take_place(start);
            return at;
        }
        start_cell(start);
        if (has_value) {
            cell_.value = xml_text_view(value, cell_.value_buffer);
            cell_.has_value = true;
        }
        if (has_formula) {
            cell_.formula.clear();
            xml_decode_text(formula, cell_.formula);
        }
        if (has_inline) {
            if (run_count == 1) {
                cell_.inline_text = xml_text_view(runs[0], cell_.inline_buffer);
            } else {
                cell_.inline_buffer.clear();
                for (size_t i = 0; i < run_count; ++i) xml_decode_text(runs[i], cell_.inline_buffer);
                cell_.inline_text = cell_.inline_buffer;
            }
            cell_.has_inline = true;
        }
        rc = finish_cell();
        return at;
    }

    // The <t> runs of an inline string up to its </is>, at most eight;
    // the offset after </is>, or npos.
    size_t inline_runs(size_t at, std::string_view *runs, size_t &count) const {
        XmlPlainTag tag;
        for (;;) {
            const size_t lt = xml_next_tag(part_, at);
            if (lt == std::string_view::npos || !xml_plain_tag(part_, lt, tag)) return std::string_view::npos;
            if (tag.closing) return tag.name == "is" ? tag.end : std::string_view::npos;
            if (tag.name != "t" || count == 8) return std::string_view::npos;
            at = xml_plain_element_text(part_, tag, runs[count]);
            if (at == std::string_view::npos) return at;
            ++count;
        }
    }

    ReadContext &context() { return state_.context; }
    BookSink &sink() { return state_.sink; }

    int start_row(const RowStart &start) {
        if (start.numbered) {
            unread_names_.clear();   // the row's number places what follows
            long long number = 0;
            row_valid_ = xml_unsigned(start.number, OZW_MAX_ROW + 1, number) && number > 0;
            if (row_valid_) row_ = static_cast<int>(number) - 1;
        } else if (catch_up(), row_valid_ && row_ < OZW_MAX_ROW) {
            ++row_;
        } else {
            row_valid_ = false;
        }
        column_ = -1;
        return sink().row(context(), BookRow{sheet_index_, row_valid_ ? row_ : -1, start.height, start.hidden});
    }

    void start_cell(const CellStart &start) {
        cell_.reset();
        cell_.style = start.style;
        cell_.type = start.type;
        cell_named_ = start.named;
        if (take_place(start)) {
            cell_.row = row_;
            cell_.column = column_;
            cell_.placed = true;
        }
    }

    // Moves the place on over a cell: a named cell's name is kept unread;
    // a cell without a name follows the previous cell, and true says it is
    // then at row_, column_.
    bool take_place(const CellStart &start) {
        if (start.named) {
            if (unread_names_.size() == kMostUnreadNames) catch_up();
            unread_names_.push_back(start.name);
            return false;
        }
        catch_up();
        if (!row_valid_ || column_ >= OZW_MAX_COLUMN) return false;
        if (row_ < 0) row_ = 0;   // cells before any row element start at the first row
        ++column_;
        return true;
    }

    // Whether a cell's value is a plain number of a style the sink has no
    // use for, or names a shared string the sink has no use for: the cell
    // is then passed over unread, with any formula.
    bool passed_over(XlsxValueType type, std::string_view value, unsigned style) {
        size_t index = 0;
        switch (type) {
        case VALUE_NUMBER: return xlsx_plain_decimal(value) && !sink().wants_numbers(context(), style);
        case VALUE_SHARED: return xlsx_plain_index(value, index) && !sink().wants_shared_string(context(), index);
        default: return false;
        }
    }

    // Brings row_ and column_ up to the newest unread name that names a
    // cell of the sheet: a bad name leaves the place as it was.
    void catch_up() {
        for (size_t i = unread_names_.size(); i-- > 0;) {
            if (const std::optional<CellPos> pos = ozw_parse_cell_name(unread_names_[i])) {
                row_ = pos->row;
                column_ = pos->column;
                break;
            }
        }
        unread_names_.clear();
    }

    // Places the cell and hands it to the sink.  Its reader has already
    // passed over a value the sink has no use for.
    int finish_cell() {
        const bool has_content = cell_.has_value || cell_.has_inline || !cell_.formula.empty();
        if (!has_content && cell_.style == 0) return 0;
        // Its name, the newest unread, places it (unless a row that a
        // malformed part opened inside the cell has dropped it).
        if (cell_named_ && !unread_names_.empty()) {
            if (const std::optional<CellPos> pos = ozw_parse_cell_name(unread_names_.back())) {
                cell_.row = row_ = pos->row;
                cell_.column = column_ = pos->column;
                cell_.placed = true;
                unread_names_.clear();
            } else {
                unread_names_.pop_back();
            }
        }
        if (!cell_.placed) return 0;
        return sink().cell(context(), xlsx_book_cell(cell_, sheet_index_));
    }

    int add_merge(std::string_view rest) {
        CellRange range;
        if (ozw_parse_range(xml_attribute(rest, "ref"), range) != OZW_RANGE_OK) return 0;
        const MergedArea area{std::min(range.first.row, range.last.row), std::min(range.first.column, range.last.column),
                              std::max(range.first.row, range.last.row), std::max(range.first.column, range.last.column)};
        return sink().merge(context(), sheet_index_, area);
    }

    int default_row_height(std::string_view rest) {
        std::string_view height = xml_attribute(rest, "defaultRowHeight");
        if (height.empty()) return 0;
        double points = std::strtod(std::string(height).c_str(), nullptr);
        if (!(points > 0 && points < 410)) return 0;
        return sink().default_row_height(context(), sheet_index_, static_cast<int>(points * 100 + 0.5));
    }

    XlsxReadState &state_;
    int sheet_index_;
    std::string_view part_;
    XmlScanner &scanner_;
    int row_ = -1;            // current row index
    bool row_valid_ = true;   // false after a row numbered beyond the sheet
    int column_ = -1;         // column of the previous cell in the row
    // The names of the named cells met since the place was last read,
    // newest last.  A word search passes most cells over, and the next cell
    // names its own place, so names are read only when a hit, a cell
    // without a name or a row without a number needs them.
    static constexpr size_t kMostUnreadNames = 64;
    std::vector<std::string_view> unread_names_;
    bool cell_named_ = false;   // the open cell has a name, the newest unread
    PendingCell cell_;
    int failure_ = 0;
    std::string text_;        // text of the open <v> or <f>
};

}  // namespace

int xlsx_parse_worksheet(XlsxReadState &state, int sheet_index, std::string_view text) {
    if (int rc = state.sink.begin_sheet(state.context, sheet_index, text.size())) return rc;
    XmlScanner scanner(xlsx_element_id);
    WorksheetHandler handler(state, sheet_index, text, scanner);
    const int rc = scanner.scan(text, handler);
    return rc ? rc : handler.failure();
}
