#include "engine/book_hits.h"

#include "charset.h"
#include "display_text.h"
#include "engine/app_texts.h"
#include "number_bytes.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <tuple>

namespace zscan {
namespace {

bool before(const BookHits::Hit &a, const BookHits::Hit &b) {
    return std::tie(a.sheet, a.row, a.column) < std::tie(b.sheet, b.row, b.column);
}

bool before_holder(const BookHits::Hit &a, const BookHits::Hit &b) {
    return std::tie(a.sheet, a.row, a.column, a.holder) < std::tie(b.sheet, b.row, b.column, b.holder);
}

TextHolder text_holder(NoteHolder holder) {
    switch (holder) {
    case NoteHolder::Comment: break;
    case NoteHolder::ThreadedComment: return TextHolder::ThreadedComment;
    case NoteHolder::Shape: return TextHolder::Shape;
    case NoteHolder::TextBox: return TextHolder::TextBox;
    case NoteHolder::ChartShape: return TextHolder::ChartShape;
    }
    return TextHolder::Comment;
}

bool same_place(const BookHits::Hit &a, const BookHits::Hit &b) {
    return a.sheet == b.sheet && a.row == b.row && a.column == b.column;
}

}  // namespace

BookHits::BookHits(CellMatcher &matcher, int charset, TextsSearched texts)
    : matcher_(matcher), charset_(charset), texts_(texts), empty_matches_(matcher.matches("")) {}

void BookHits::clear(int share, int shares) {
    share_ = share;
    shares_ = shares;
    hits_.clear();
    outside_.clear();
    shared_.clear();
    number_styles_.clear();
    display_.clear();
    shown_texts_.clear();
    sheet_names_.clear();
}

int BookHits::cell(const ReadContext &book, const BookCell &cell) {
    if (texts_.formulas && !cell.formula.empty()) {
        formula_.assign(1, '=').append(cell.formula);
        if (matcher_.matches(formula_))
            keep_outside(book, {cell.sheet, cell.row, cell.column, {}, true, MatchedText::Display, TextHolder::Formula, {}},
                         formula_);
    }
    const CellValue &value = cell.value;
    if (value.kind == CellValue::NONE && !empty_matches_) return 0;   // an empty cell shows no text
    // A number written plainly is stored as a number of its style's kind,
    // whose texts hold only the bytes of that style.
    if (value.kind == CellValue::NUMBER && value.plain && std::isfinite(value.number) &&
        !wants_numbers(book, cell.style))
        return 0;
    const bool shared = value.kind == CellValue::SHARED && value.shared >= 0 &&
                        static_cast<size_t>(value.shared) < book.shared_strings.size() && !empty_matches_;
    if (shared && !shared_string_matches(book, static_cast<size_t>(value.shared))) return 0;
    const std::string_view text = display_.text(book, cell);
    if (shared || matcher_.matches(text)) {
        keep(book, cell, text, MatchedText::Display);
        return 0;
    }
    if (display_.was_number()) {
        if (const std::optional<MatchedText> form = shown_form_matching(book, cell)) {
            keep(book, cell, shown_, *form);
            return 0;
        }
    }
    // The words match an empty text: every cell is kept, for the rows'
    // widths are settled once the rows are complete.
    if (empty_matches_) keep(book, cell, text, MatchedText::Display, false);
    return 0;
}

std::optional<MatchedText> BookHits::shown_form_matching(const ReadContext &book, const BookCell &cell) {
    const int forms = shown_texts_.make(book.styles, book.escaped_codes(), cell.style, display_.number(),
                                        book.date_origin_days != 0, shown_, date_);
    if (forms == 0) return std::nullopt;
    if (matcher_.matches(shown_)) return MatchedText::Shown;
    if (forms == 2 && matcher_.matches(date_)) return MatchedText::Date;
    return std::nullopt;
}

bool BookHits::shared_string_matches(const ReadContext &book, size_t index) {
    // A shared string shows its text whatever the cell's format, so its
    // test is made once per book.
    if (shared_.empty()) shared_.resize(book.shared_strings.size(), Known::Untested);
    Known &known = shared_[index];
    if (known == Known::Untested)
        known = matcher_.matches(ozw_bounded_text(book.shared_strings[index])) ? Known::Yes : Known::No;
    return known == Known::Yes;
}

bool BookHits::wants_shared_string(const ReadContext &book, size_t index) {
    // A formula is kept with its value, as for numbers.
    if (empty_matches_ || texts_.formulas || index >= book.shared_strings.size()) return true;
    return shared_string_matches(book, index);
}

bool BookHits::wants_numbers(const ReadContext &book, unsigned style) {
    // A formula is kept with its value: every number is read when the
    // formulas are searched.
    if (empty_matches_ || texts_.formulas) return true;
    if (style >= number_styles_.size()) {
        if (style > 0xFFFF) return true;   // beyond any style table: not worth a slot
        number_styles_.resize(style + 1, Known::Untested);
    }
    Known &known = number_styles_[style];
    if (known == Known::Untested)
        known = matcher_.may_match_within(ozw_style_number_bytes(book.styles, book.escaped_codes(), style))
                    ? Known::Yes
                    : Known::No;
    return known == Known::Yes;
}

int BookHits::note(const ReadContext &book, int sheet, SheetNote &&note) {
    if (sheet < 0 || static_cast<size_t>(sheet) >= book.sheet_names.size() || !matcher_.matches(note.text)) return 0;
    Hit hit{sheet, note.row, note.column, {}, true, MatchedText::Display, text_holder(note.holder), {}};
    if (!note.name.empty()) hit.holder_name = in_charset(charset_, note.name);
    keep_outside(book, std::move(hit), note.text);
    return 0;
}

void BookHits::name_sheet(const ReadContext &book, int sheet) {
    const auto index = static_cast<size_t>(sheet);
    if (index >= sheet_names_.size()) sheet_names_.resize(index + 1);
    std::string &name = sheet_names_[index];
    if (name.empty()) name = in_charset(charset_, book.sheet_names[index]);
}

void BookHits::keep(const ReadContext &book, const BookCell &cell, std::string_view text, MatchedText form,
                    bool matched) {
    name_sheet(book, cell.sheet);
    // Only the texts kept are turned into the search's character set.
    hits_.push_back({cell.sheet, cell.row, cell.column,
                     charset_ == CS_UTF8 ? std::string(text) : in_charset(charset_, text), matched, form});
}

void BookHits::keep_outside(const ReadContext &book, Hit hit, std::string_view text) {
    name_sheet(book, hit.sheet);
    hit.text = charset_ == CS_UTF8 ? std::string(text) : in_charset(charset_, text);
    outside_.push_back(std::move(hit));
}

const std::vector<BookHits::Hit> &BookHits::in_order() {
    // Readers hand cells over in the book's order, which is nearly always
    // sorted already; a place met twice keeps its last value.
    std::stable_sort(hits_.begin(), hits_.end(), before);
    auto last_of_each = [](const Hit &a, const Hit &b) { return same_place(a, b); };
    std::reverse(hits_.begin(), hits_.end());
    hits_.erase(std::unique(hits_.begin(), hits_.end(), last_of_each), hits_.end());
    std::reverse(hits_.begin(), hits_.end());
    if (empty_matches_) add_empty_hits();
    if (outside_.empty()) return hits_;
    // The other texts of a cell follow its own, in the holders' order.
    std::stable_sort(outside_.begin(), outside_.end(), before_holder);
    std::vector<Hit> merged;
    merged.reserve(hits_.size() + outside_.size());
    std::merge(std::make_move_iterator(hits_.begin()), std::make_move_iterator(hits_.end()),
               std::make_move_iterator(outside_.begin()), std::make_move_iterator(outside_.end()),
               std::back_inserter(merged), before);
    outside_.clear();
    hits_.swap(merged);
    return hits_;
}

void BookHits::add_empty_hits() {
    std::vector<Hit> cells;
    cells.swap(hits_);
    for (size_t first = 0; first < cells.size();) {
        size_t end = first;
        while (end < cells.size() && cells[end].sheet == cells[first].sheet && cells[end].row == cells[first].row)
            ++end;
        // The row's width: its last cell with a text from the second column
        // on, else every cell it has.
        int width = cells[end - 1].column + 1;
        for (size_t i = end; i-- > first;) {
            if (cells[i].column >= 1 && !cells[i].text.empty()) {
                width = cells[i].column + 1;
                break;
            }
        }
        size_t next = first;
        for (int column = 0; column < width; ++column) {
            const bool present = next < end && cells[next].column == column;
            if (!present) {
                hits_.push_back({cells[first].sheet, cells[first].row, column, {}, true});
                continue;
            }
            if (cells[next].matched) hits_.push_back(std::move(cells[next]));
            ++next;
        }
        first = end;
    }
}

}  // namespace zscan
