#include "engine/hit_recorder.h"

#include "charset.h"
#include "engine/app_texts.h"
#include "engine/link_target.h"
#include "engine/path_text.h"
#include "engine/utf8_text.h"
#include "engine/value_text.h"
#include "platform/platform.h"

#include <cstdio>

namespace zscan {
namespace {

std::string cell_name(int row, int column) {
    char name[32] = {};
    return OXLS_cell_name(row, column, name) == 0 ? std::string(name) : std::string();
}

}  // namespace

bool HitRecorder::record(const HitPlace &place, std::string_view text, MatchedText matched) {
    ++context_.hit_count;
    if (context_.output_excel) {
        front_end_.set_hit_counter_text(filled(context_.charset, text::kHitCounter, context_.hit_count));
    }
    // The hit past the limit is not kept where the limit is exact; the
    // window's text output keeps the rest of the book it is found in.
    const bool past_limit = passes_limit();
    if (past_limit && (context_.output_excel || context_.exact_hit_limit)) return false;
    if (context_.output_excel) {
        add_book_row(place, text, matched);
        return true;
    }
    return append_text_line(place, text, matched);
}

bool HitRecorder::passes_limit() {
    if (context_.hit_limit <= 0 || context_.hit_count <= context_.hit_limit) return false;
    if (!context_.limit_passed) {
        context_.limit_passed = true;
        front_end_.hit_limit_passed(context_.hit_limit, context_.output_excel);
    }
    return true;
}

void HitRecorder::book_finished(std::string_view path, const std::optional<NotSearched> &problem) {
    if (problem) {
        not_searched(*problem);
    } else {
        ++context_.books_searched;
        front_end_.book_searched(path, book_hits_);
    }
    book_hits_ = 0;
}

void HitRecorder::not_searched(NotSearched item) {
    front_end_.not_searched(item);
    context_.not_searched.push_back(std::move(item));
}

bool HitRecorder::append_text_line(const HitPlace &place, std::string_view text, MatchedText matched) {
    const std::string where = place_text(context_.charset, place);
    std::string line;
    line.reserve(place.book_path.size() + place.sheet_name.size() + where.size() + text.size() + 8);
    line.append("[").append(place.book_path).append("][");
    line.append(place.sheet_name).append("][").append(where).append("] ");
    line.append(text);

    // Opened for each hit, so that the file holds every hit found so far
    // whatever happens to the search.  A file that cannot be written stops
    // the search: its answer would be incomplete.
    std::FILE *file = std::fopen(system_path(context_.charset, context_.result_file_path).c_str(), "a");
    bool written = file != nullptr;
    if (written) {
        written = std::fwrite(line.data(), 1, line.size(), file) == line.size() && std::fputc('\n', file) != EOF;
        written = std::fclose(file) == 0 && written;
    }
    if (!written) {
        context_.write_error = zplat::last_failure().text;
        return false;
    }
    ++book_hits_;
    ++context_.hits_recorded;
    front_end_.hit_recorded(RecordedHit{place, text, matched, line});
    return true;
}

void HitRecorder::add_book_row(const HitPlace &place, std::string_view text, MatchedText matched) {
    ++book_hits_;
    ++context_.hits_recorded;
    front_end_.hit_recorded(RecordedHit{place, text, matched, {}});
    // Row 1 holds the headings; hit n goes to row n + 1.
    const int row = context_.hit_count + 1;
    const std::string cells[4] = {cell_name(row, 1), cell_name(row, 2), cell_name(row, 3),
                                  cell_name(row, 4)};
    for (const std::string &name : cells) {
        if (name.empty()) return;
    }
    const int charset = context_.charset;
    const std::string_view shown = cut_to_whole_characters(charset, text, kResultBookTextMax);
    // A POSIX file name need not be UTF-8, but a cell can hold only valid
    // text: the path is shown with its stray bytes replaced, and its link
    // still names the very bytes.
    const std::string book_path =
        charset == CS_UTF8 ? with_replacement_characters(place.book_path) : std::string(place.book_path);
    const std::string where = place_text(charset, place);
    const std::string_view values_of_row[4] = {shown, where, place.sheet_name, book_path};

    // Each cell is put on its own, as a string, so that no text can be read
    // as another item of a values string or typed into a number, a date or
    // a formula.  A row or link that cannot be written is left out quietly;
    // the hit still counts.
    XLS_BOOK *book = context_.result_book.get();
    int rc = 0;
    for (int column = 0; column < 4 && rc == 0; ++column) {
        rc = OXLS_put_cell(book, cells[column].c_str(),
                           string_cell_value(charset, values_of_row[column]).c_str(), 0);
    }
    if (rc != 0) return;
    const std::string link_path = link_target(charset, place.link_path);
    const std::string sheet_name(place.sheet_name);
    const std::string hit_cell(place.cell_name);
    if (OXLS_book_hyperlink(book, cells[0].c_str(), link_path.c_str(), sheet_name.c_str(), hit_cell.c_str()) != 0)
        return;
    // A link to a file with no place in it: the call stores the target as
    // given, where the call for other targets would take a folder holding
    // "@" and a later "." for a mail address.
    const std::string folder_path = link_target(charset, place.folder_path);
    OXLS_book_hyperlink(book, cells[3].c_str(), folder_path.c_str(), "", "");
}

}  // namespace zscan
