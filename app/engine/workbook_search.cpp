#include "engine/workbook_search.h"

#include "charset.h"
#include "engine/app_texts.h"
#include "engine/path_text.h"
#include "engine/value_text.h"
#include "platform/platform.h"
#include "read/cfb_reader.h"

namespace zscan {
namespace {

// Size of the display-text buffer: the longest cell text the library
// hands out, and of its type-name buffer (the type is not used).
constexpr int kCellTextSize = XLS_CELL_UTF8_LEN;
constexpr int kCellTypeSize = 255;

std::string open_arguments(const SearchContext &context) {
    std::string arguments;
    // The character set comes first: the library converts the values that
    // follow it from that set.
    if (context.charset == CS_UTF8) arguments = "CHARSET=UTF8 ";
    arguments += "EXCEL=" + quoted_argument(context.current_file) +
                 " MODE=UNLOAD TEMP_WORKBOOK_PATH=" + quoted_argument(context.temp_workbook_path);
    return arguments;
}

// Copies the workbook stream of an Excel 97-2003 book into a disk file of
// this search's own, which the library loads into the book's own memory
// files.  A memory file made by the caller would be shared with every other
// book open in the process, and dropped by any of them that fails to open.
bool copy_workbook_stream(const char *book_path, const char *copy_path) {
    zplat::File *copy = zplat::file_open(copy_path, 2);
    if (copy == nullptr) return false;
    const int rc = cfb_copy_workbook(book_path, [copy](const unsigned char *piece, size_t size) {
        return zplat::file_write(copy, piece, size) == size;
    });
    zplat::file_close(copy);
    if (rc != 0) zplat::delete_file(copy_path);
    return rc == 0;
}

}  // namespace

WorkbookSearch::WorkbookSearch(CellMatcher &matcher, HitTarget &hits)
    : matcher_(matcher), hits_(hits), book_(std::make_unique<XLS_BOOK>()),
      text_(kCellTextSize) {}

WorkbookSearch::~WorkbookSearch() = default;

bool WorkbookSearch::cell_text(const char *cell_name) {
    char type[kCellTypeSize] = {};
    text_[0] = '\0';
    return OXLS_get_cell(book_.get(), cell_name, text_.data(), kCellTextSize, type,
                         kCellTypeSize) == 0;
}

int WorkbookSearch::trimmed_width(int row, const XLS_ROW &cells) {
    // Trailing empty cells are not tested.  A row whose only text is in its
    // first column keeps its full width.  An empty cell record shows no
    // text, so only the other cells are asked for theirs.
    char name[32];
    for (int column = cells.cell_count; column >= 2; --column) {
        if (cells.cells[column - 1].type < 0) continue;
        if (OXLS_cell_name(row, column, name) == 0 && cell_text(name) && text_[0] != '\0') {
            return column;
        }
    }
    return cells.cell_count;
}

bool WorkbookSearch::search_sheet(const XLS_SHEET &sheet, const HitPlace &sheet_place) {
    char name[32];
    for (int row_index = 0; row_index < sheet.row_count; ++row_index) {
        const int row = row_index + 1;
        const int width = trimmed_width(row, sheet.rows[row_index]);
        for (int column = 1; column <= width; ++column) {
            if (OXLS_cell_name(row, column, name) != 0 || !cell_text(name)) continue;
            const std::string_view text(text_.data());
            if (!matcher_.matches(text)) continue;
            HitPlace place = sheet_place;
            place.cell_name = name;
            if (!hits_.record(place, text)) return false;
        }
    }
    return true;
}

int WorkbookSearch::search_book(SearchContext &context, BookKind kind) {
    // An Excel 97-2003 book is read from a copy of its workbook stream.
    if (kind == BookKind::Excel2003 &&
        !copy_workbook_stream(context.current_file.c_str(), context.temp_workbook_path.c_str())) {
        return -1;
    }
    XLS_BOOK *book = book_.get();
    if (OXLS_open_book(book, open_arguments(context).c_str()) != 0) {
        // A refused argument string leaves the library's work area behind.
        if (book->work != nullptr) OXLS_free_book(book);
        return -1;
    }

    std::string folder_path = folder_of(context.charset, context.current_file);
    std::string link_path = context.current_file;
    if (!is_absolute_path(context.current_file)) {
        link_path = joined_path(context.link_base_folder, context.current_file);
        folder_path = joined_path(context.link_base_folder, folder_path);
    }

    for (int sheet_index = 0; sheet_index < book->sheet_count; ++sheet_index) {
        if (OXLS_open_sheet2(book, sheet_index) != 0) continue;
        const XLS_SHEET &sheet = book->sheets[sheet_index];
        const std::string sheet_name = in_charset(context.charset, sheet.name);
        const HitPlace sheet_place{sheet_name, {}, link_path, folder_path};
        if (!search_sheet(sheet, sheet_place)) break;
    }
    OXLS_close_book(book, nullptr);
    return 0;
}

}  // namespace zscan
