// Setting up and releasing a book record and growing its tables.
#include "book_record.h"

#include "book_properties.h"
#include "charset.h"
#include "mfile.h"
#include "platform/platform.h"
#include "result_codes.h"
#include "temp_folders.h"
#include "work_area.h"
#include "zip_io.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr int INITIAL_SHEETS = 10;
constexpr int INITIAL_SST = 100;
constexpr unsigned char FLAG_ON = 0xFF;

// The style tables every new book starts with.
void set_initial_styles(StyleTables &styles) {
    styles = StyleTables{};
    FontRecord regular;
    FontRecord phonetic;
    phonetic.size = 9;
    FontRecord link;
    link.flags = 2 | 8;
    styles.fonts = {regular, phonetic, link};
    FillRecord gray125;
    gray125.pattern = 5;
    styles.fills = {FillRecord{}, gray125};
    auto xf = [](uint32_t format, uint32_t font, uint32_t cell_style, uint8_t align) {
        XfRecord r;
        r.num_format = format;
        r.font = font;
        r.cell_style = cell_style;
        r.alignment = align;
        return r;
    };
    styles.xfs = {xf(14, 0, 0, 33), xf(22, 0, 0, 33), xf(20, 0, 0, 33), xf(46, 0, 0, 33),
                  xf(5, 0, 0, 33),  xf(9, 0, 0, 33),  xf(0, 2, 1, 31),  xf(14, 2, 1, 31)};
}

void free_cell(XLS_CELL &cell) {
    std::free(cell.text);
    std::free(cell.formula);
    std::free(cell.extra);
    cell.text = cell.formula = cell.extra = nullptr;
}

void free_sheet(XLS_SHEET &sheet) {
    for (int r = 0; r < sheet.row_count; ++r) {
        XLS_ROW &row = sheet.rows[r];
        for (int c = 0; c < row.cell_count; ++c) free_cell(row.cells[c]);
        std::free(row.cells);
    }
    std::free(sheet.rows);
    std::free(sheet.column_widths);
    std::free(sheet.column_styles);
    delete static_cast<SheetExtras *>(sheet.extension);
    std::memset(&sheet, 0, sizeof sheet);
}

void init_sheet(XLS_SHEET &sheet) {
    std::memset(&sheet, 0, sizeof sheet);
    sheet.template_index = -1;
    sheet.visible = 1;
    sheet.default_row_height = 1350;
    sheet.zoom = 100;
}

// Grows a malloc'ed array of T to at least `wanted` elements, zeroing the new
// ones.  Capacity doubles so that filling row by row stays linear.
template <typename T>
bool grow(T *&array, int &capacity, int wanted) {
    if (wanted <= capacity) return true;
    long long next = capacity > 0 ? capacity : 4;
    while (next < wanted) next *= 2;
    if (next > 0x7FFFFFFF) next = wanted;
    T *bigger = static_cast<T *>(std::realloc(array, sizeof(T) * static_cast<size_t>(next)));
    if (!bigger) return false;
    std::memset(bigger + capacity, 0, sizeof(T) * static_cast<size_t>(next - capacity));
    array = bigger;
    capacity = static_cast<int>(next);
    return true;
}

// Cell arrays are sized from the cell count alone (the row record has no
// capacity field): the next power of two, at least 8.
int cell_capacity(int count) {
    if (count <= 0) return 0;
    int capacity = 8;
    while (capacity < count) capacity *= 2;
    return capacity;
}

}  // namespace

OzwWork *ozw_work(XLS_BOOK *book) { return book ? static_cast<OzwWork *>(book->work) : nullptr; }

int ozw_charset(XLS_BOOK *book) {
    OzwWork *work = ozw_work(book);
    if (work) return work->charset;
    if (book && (book->reserved == CS_EUC || book->reserved == CS_UTF8)) return book->reserved;
    return CS_SJIS;
}

OzwWork *ozw_new_work(XLS_BOOK *book) {
    auto *work = new (std::nothrow) OzwWork{};
    if (!work) return nullptr;
    work->charset = CS_SJIS;
    work->out = stdout;
    work->err = stderr;
    work->package_in_memory = orb_zip_memory_selected();
    book->work = work;
    return work;
}

MfileTable &ozw_files(XLS_BOOK *book) {
    OzwWork *work = ozw_work(book);
    return work ? work->files : orb_caller_files();
}

PackageStore ozw_package_store(XLS_BOOK *book) {
    PackageStore store;
    if (OzwWork *work = ozw_work(book)) {
        store.storage = {work->package_in_memory ? ZipMedium::Memory : ZipMedium::Disk, &work->files, {}};
        store.limits = work->limits;
        store.own_disk_folder = true;
    }
    return store;
}

void ozw_free_work(XLS_BOOK *book) {
    OzwWork *work = ozw_work(book);
    if (!work) return;
    book->reserved = work->charset;
    if (!work->disk_folder.empty()) orb_remove_folder(work->disk_folder.c_str());
    delete work;
    book->work = nullptr;
}

int ozw_create_name_list(XLS_BOOK *book, const char *list_path) {
    auto *list = static_cast<NameList *>(std::calloc(1, sizeof(NameList)));
    if (!list) return OXLS_ERR_MEMORY;
    list->slots = static_cast<char (*)[NAME_LIST_SLOT_LEN]>(std::calloc(NAME_LIST_SLOTS, NAME_LIST_SLOT_LEN));
    if (!list->slots) {
        std::free(list);
        return OXLS_ERR_MEMORY;
    }
    std::snprintf(list->list_path, sizeof list->list_path, "%s", list_path);
    book->name_list = list;
    return 0;
}

NameList *ozw_name_list(XLS_BOOK *book) { return static_cast<NameList *>(book->name_list); }

int ozw_add_list_name(XLS_BOOK *book, const char *name) {
    NameList *list = ozw_name_list(book);
    if (!list) return OXLS_ERR_ARGUMENT;
    if (list->count >= NAME_LIST_SLOTS) return OZW_LIMIT_REACHED;
    std::snprintf(list->slots[list->count++], NAME_LIST_SLOT_LEN, "%s", name);
    return 0;
}

int ozw_init_book(XLS_BOOK *book, int kind) {
    book->reserved = 0;
    std::memset(book->file_name, 0, sizeof book->file_name);
    book->tuning[0] = 10;
    book->tuning[1] = 10;
    book->tuning[2] = 10000;
    book->tuning[3] = 18000;
    std::memset(book->flags, FLAG_ON, sizeof book->flags);
    std::memset(book->temp_workbook_path, 0, sizeof book->temp_workbook_path);
    book->row_limit = kind == BOOK_KIND_XLS ? XLS_ROW_LIMIT : XLSX_ROW_LIMIT;
    book->column_limit = kind == BOOK_KIND_XLS ? XLS_COLUMN_LIMIT : XLSX_COLUMN_LIMIT;
    book->text_limit = 32768;
    book->shared_text_limit = 65534;
    book->kind[0] = book->kind[1] = kind;
    std::strcpy(book->company, "MyCompany");
    std::strcpy(book->author, "MyName");
    std::memset(&book->log, 0, sizeof book->log);
    book->current_sheet = 0;
    book->sst = nullptr;
    book->sst_count = book->sst_capacity = 0;
    book->images = book->names = nullptr;
    book->extract_list = nullptr;
    book->extract_count = 0;
    book->name_list = nullptr;
    book->last_row = book->last_column = -1;
    book->extension = nullptr;

    book->styles = new (std::nothrow) StyleTables;
    book->sst = static_cast<XLS_SST_ENTRY *>(std::calloc(INITIAL_SST, sizeof(XLS_SST_ENTRY)));
    book->sheets = static_cast<XLS_SHEET *>(std::calloc(INITIAL_SHEETS, sizeof(XLS_SHEET)));
    book->sheet_count = 0;
    book->sheet_capacity = INITIAL_SHEETS;
    if (!book->styles || !book->sst || !book->sheets) {
        ozw_release_book(book);
        return OXLS_ERR_MEMORY;
    }
    book->sst_capacity = INITIAL_SST;
    set_initial_styles(*ozw_styles(book));
    return 0;
}

void ozw_release_book(XLS_BOOK *book) {
    if (book->sheets) {
        for (int i = 0; i < book->sheet_count; ++i) free_sheet(book->sheets[i]);
        std::free(book->sheets);
    }
    book->sheets = nullptr;
    book->sheet_count = book->sheet_capacity = 0;
    if (book->sst) {
        for (int i = 0; i < book->sst_count; ++i) std::free(book->sst[i].text);
        std::free(book->sst);
    }
    book->sst = nullptr;
    book->sst_count = book->sst_capacity = 0;
    delete static_cast<StyleTables *>(book->styles);
    book->styles = nullptr;
    if (book->extract_list) {
        for (int i = 0; i < book->extract_count; ++i) std::free(book->extract_list[i]);
        std::free(book->extract_list);
    }
    book->extract_list = nullptr;
    book->extract_count = 0;
    book->images = nullptr;
    book->names = nullptr;
    if (NameList *list = ozw_name_list(book)) {
        std::free(list->slots);
        std::free(list);
        book->name_list = nullptr;
    }
    ozw_free_book_properties(book);
    if (book->temp_workbook_path[0]) {
        zplat::delete_file(book->temp_workbook_path);
        ozw_files(book).remove_everywhere(book->temp_workbook_path);
        book->temp_workbook_path[0] = '\0';
    }
}

StyleTables *ozw_styles(XLS_BOOK *book) { return static_cast<StyleTables *>(book->styles); }

SheetExtras *ozw_sheet_extras(XLS_SHEET *sheet) {
    if (!sheet->extension) sheet->extension = new (std::nothrow) SheetExtras;
    return static_cast<SheetExtras *>(sheet->extension);
}

int ozw_add_sheet(XLS_BOOK *book, const char *name_utf8) {
    size_t length = std::strlen(name_utf8);
    if (length > XLS_SHEET_LEN) return OZW_LIMIT_REACHED;
    if (!grow(book->sheets, book->sheet_capacity, book->sheet_count + 1)) return OXLS_ERR_MEMORY;
    XLS_SHEET &sheet = book->sheets[book->sheet_count];
    init_sheet(sheet);
    std::memcpy(sheet.name, name_utf8, length + 1);
    return book->sheet_count++;
}

XLS_ROW *ozw_ensure_row(XLS_SHEET *sheet, int row) {
    if (row < 0) return nullptr;
    if (!grow(sheet->rows, sheet->row_capacity, row + 1)) return nullptr;
    if (row >= sheet->row_count) sheet->row_count = row + 1;
    return &sheet->rows[row];
}

XLS_CELL *ozw_ensure_cell(XLS_SHEET *sheet, int row, int column) {
    if (column < 0 || column >= 16384) return nullptr;
    XLS_ROW *r = ozw_ensure_row(sheet, row);
    if (!r) return nullptr;
    if (column >= r->cell_count) {
        int wanted = column + 1;
        int capacity = cell_capacity(r->cell_count);
        if (wanted > capacity) {
            int next = cell_capacity(wanted);
            XLS_CELL *cells = static_cast<XLS_CELL *>(std::realloc(r->cells, sizeof(XLS_CELL) * next));
            if (!cells) return nullptr;
            r->cells = cells;
        }
        for (int c = r->cell_count; c < wanted; ++c) {
            std::memset(&r->cells[c], 0, sizeof(XLS_CELL));
            r->cells[c].type = XLS_CELL_EMPTY;
        }
        r->cell_count = static_cast<short>(wanted);
    }
    return &r->cells[column];
}

int ozw_set_cell_text(char **field, const char *text, size_t length) {
    char *copy = static_cast<char *>(std::malloc(length + 1));
    if (!copy) return OXLS_ERR_MEMORY;
    if (length > 0) std::memcpy(copy, text, length);
    copy[length] = '\0';
    std::free(*field);
    *field = copy;
    return 0;
}

int ozw_add_sst(XLS_BOOK *book, const char *text, int length) {
    if (book->sst_count == book->sst_capacity) {
        int next = book->sst_capacity < 104857600 ? book->sst_capacity * 2 : book->sst_capacity + 1000;
        if (next < 100) next = 100;
        auto *bigger = static_cast<XLS_SST_ENTRY *>(std::realloc(book->sst, sizeof(XLS_SST_ENTRY) * next));
        if (!bigger) return OXLS_ERR_MEMORY;
        book->sst = bigger;
        book->sst_capacity = next;
    }
    // Two terminating NUL bytes, as the writer expects.
    char *copy = static_cast<char *>(std::malloc(static_cast<size_t>(length) + 2));
    if (!copy) return OXLS_ERR_MEMORY;
    std::memcpy(copy, text, static_cast<size_t>(length));
    copy[length] = copy[length + 1] = '\0';
    XLS_SST_ENTRY &entry = book->sst[book->sst_count];
    entry.index = static_cast<unsigned int>(book->sst_count);
    entry.length = static_cast<unsigned int>(length);
    entry.text = copy;
    return book->sst_count++;
}
