#include "engine/hit_recorder.h"

#include "engine/app_texts.h"
#include "engine/value_text.h"

#include <cstdio>

namespace zscan {
namespace {

std::string cell_name(int row, int column) {
    char name[32] = {};
    return OXLS_cell_name(row, column, name) == 0 ? std::string(name) : std::string();
}

}  // namespace

bool HitRecorder::record(const HitPlace &place, std::string_view text) {
    ++context_.hit_count;
    if (!context_.output_excel) {
        append_text_line(place, text);
        return true;
    }
    return add_book_row(place, text);
}

void HitRecorder::append_text_line(const HitPlace &place, std::string_view text) {
    std::string line;
    line.reserve(context_.current_file.size() + place.sheet_name.size() +
                 place.cell_name.size() + text.size() + 8);
    line.append("[").append(context_.current_file).append("][");
    line.append(place.sheet_name).append("][").append(place.cell_name).append("] ");
    line.append(text);

    // Opened for each hit, so that the file holds every hit found so far
    // whatever happens to the search.  A file that cannot be opened loses
    // the line; the hit still counts.
    if (std::FILE *file = std::fopen(context_.result_file_path.c_str(), "a")) {
        std::fwrite(line.data(), 1, line.size(), file);
        std::fputc('\n', file);
        std::fclose(file);
    }
    front_end_.hit_line_written(line);
}

bool HitRecorder::add_book_row(const HitPlace &place, std::string_view text) {
    const int hits = context_.hit_count;
    front_end_.set_hit_counter_text(filled(context_.charset, text::kHitCounter, hits));
    if (hits > kHitLimit) {
        front_end_.show_message(in_charset(context_.charset, text::kTitle),
                                filled(context_.charset, text::kHitLimitReached, kHitLimit),
                                MessageIcon::Exclamation, false, true);
        return false;
    }

    // Row 1 holds the headings; hit n goes to row n + 1.
    const int row = hits + 1;
    const std::string cells[4] = {cell_name(row, 1), cell_name(row, 2), cell_name(row, 3),
                                  cell_name(row, 4)};
    for (const std::string &name : cells) {
        if (name.empty()) return true;
    }
    const int charset = context_.charset;
    const std::string_view shown = cut_to_whole_characters(charset, text, kResultBookTextMax);
    const std::string_view values_of_row[4] = {shown, place.cell_name, place.sheet_name,
                                               context_.current_file};

    // Each cell is put on its own, so that no text can be read as another
    // item of a values string.  A row or link that cannot be written is
    // left out quietly; the hit still counts.
    XLS_BOOK *book = context_.result_book.get();
    int rc = 0;
    for (int column = 0; column < 4 && rc == 0; ++column) {
        rc = OXLS_put_cell(book, cells[column].c_str(),
                           quoted_cell_value(charset, values_of_row[column]).c_str(), 0);
    }
    if (rc == 0) {
        const std::string link_path(place.link_path);
        const std::string sheet_name(place.sheet_name);
        const std::string hit_cell(place.cell_name);
        if (OXLS_book_hyperlink(book, cells[0].c_str(), link_path.c_str(), sheet_name.c_str(),
                                hit_cell.c_str()) == 0) {
            const std::string folder_path(place.folder_path);
            OXLS_external_hyperlink(book, cells[3].c_str(), folder_path.c_str());
        }
    }
    return true;
}

}  // namespace zscan
