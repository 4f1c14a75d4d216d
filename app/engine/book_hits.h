// The cells of one book tested against the search words as the reader
// hands them over.  Only the hits are kept, with their places; once the
// book is read they are given out in sheet, row and column order, each
// place with the value it was given last, as the cells stand in the book.
//
// A cell is tested by its display text.  A number that its format shows
// otherwise is also tested by the text a spreadsheet program shows for it,
// and a date by the form 2016/3/25 (with " 14:05" for a date and time);
// one of them matching makes one hit, shown with the display text when
// that matched and else with the shown text.
//
// Besides, as the search asks: the texts outside the cells (comments,
// threaded comments, shapes and text boxes), each a hit of its own at its
// cell, and each cell's formula as written.
#pragma once

#include "engine/cell_matcher.h"
#include "engine/hit_place.h"
#include "book_sink.h"
#include "cell_display.h"
#include "number_shown_texts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zscan {

class BookHits : public BookSink {
public:
    struct Hit {
        int sheet = 0;
        int row = 0;      // from 0
        int column = 0;   // from 0
        std::string text; // the text shown for the hit, in the search's character set
        bool matched = true;  // false for a cell kept only for the rows' widths
        MatchedText form = MatchedText::Display;
        TextHolder holder = TextHolder::Cell;
        std::string holder_name = {};   // a shape's name, in the search's character set
    };

    // `matcher` is prepared; texts are tested in `charset`, with `texts`
    // saying which besides the cells'.
    BookHits(CellMatcher &matcher, int charset, TextsSearched texts);

    // Forgets the book read before; the next is searched in the sheets of
    // share `share` of `shares` (every `shares`-th sheet from `share` on).
    void clear(int share = 0, int shares = 1);
    // A shared string is tested once per book; only the texts that may
    // match are made.
    int cell(const ReadContext &book, const BookCell &cell) override;
    // Numbers of a style are left out when no word can be found among the
    // bytes their texts can hold.
    bool wants_numbers(const ReadContext &book, unsigned style) override;
    bool wants_shared_string(const ReadContext &book, size_t index) override;
    // The texts outside the cells are read only when they are searched.
    bool wants_notes() const override { return texts_.outside_cells; }
    bool wants_sheet(const ReadContext &, int sheet) override { return sheet % shares_ == share_; }
    int note(const ReadContext &book, int sheet, SheetNote &&note) override;
    // The hits of the book in order.
    const std::vector<Hit> &in_order();
    // A sheet's name in the search's character set (sheets with hits only).
    const std::string &sheet_name(int sheet) const { return sheet_names_[static_cast<size_t>(sheet)]; }

private:
    // Whether a shared string's text matched, found out once per book.
    enum class Known : uint8_t { Untested, No, Yes };

    // Whether shared string `index` (one of the book's) holds the words.
    bool shared_string_matches(const ReadContext &book, size_t index);

    void keep(const ReadContext &book, const BookCell &cell, std::string_view text, MatchedText form,
              bool matched = true);
    // Keeps a hit in a text that is not the cell's own.
    void keep_outside(const ReadContext &book, Hit hit, std::string_view text);
    // The sheet's name in the search's character set, made once per book.
    void name_sheet(const ReadContext &book, int sheet);
    // Which of the number's shown text and date form matches, if either;
    // the shown text is in shown_.
    std::optional<MatchedText> shown_form_matching(const ReadContext &book, const BookCell &cell);
    // Adds what an empty text matching means: every cell of a row up to its
    // last one with a text is a hit, empty ones included.
    void add_empty_hits();

    CellMatcher &matcher_;
    int charset_;
    TextsSearched texts_;
    // True when the words match an empty text (an expression such as .*):
    // then every cell is kept and the empty ones are found at the end.
    bool empty_matches_;
    int share_ = 0, shares_ = 1;
    std::vector<Hit> hits_;     // in the cells' own texts
    std::vector<Hit> outside_;  // in formulas and texts outside the cells
    std::vector<Known> shared_;
    std::vector<Known> number_styles_;   // whether numbers of a style may match
    std::vector<std::string> sheet_names_;
    CellDisplay display_;
    NumberShownTexts shown_texts_;
    std::string shown_, date_;   // a number's shown text and date form, reused
    std::string formula_;        // a cell's formula as written, reused
};

}  // namespace zscan
