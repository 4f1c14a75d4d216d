/*
 * oxls.h - the flat call interface of the zweave workbook library.
 *
 * Reads Excel 97-2003 (.xls) and Excel 2007 (.xlsx/.xlsm) books, formats
 * cell values for display, and writes Excel 2007 books.  Every call that
 * concerns a book takes the address of one caller-owned XLS_BOOK record.
 * Texts passed in and handed back are in the caller's character set
 * (CHARSET= of OXLS_open_book; Shift-JIS by default); texts inside a book
 * are UTF-8.
 *
 * This header is plain C and may be used from C and C++ alike.
 */
#ifndef ZWEAVE_OXLS_H
#define ZWEAVE_OXLS_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#  if defined(ZWEAVE_BUILDING)
#    define OXLS_API __declspec(dllexport)
#  else
#    define OXLS_API
#  endif
#else
#  define OXLS_API __attribute__((visibility("default")))
#endif

/* Library version and the size of XLS_BOOK as this release knows it. */
#define OXLS_VERSION "2.2.0.0"
#define OXLS_PRODUCT "ORB Z-WEAVE"
#define XLS_BOOK_SIZE 108832

/* Result codes. */
#define OXLS_OK 0
#define OXLS_ERR_FAILED (-1)       /* failure with its own text */
#define OXLS_ERR_MEMORY (-2)       /* out of memory (OXLS-00002) */
#define OXLS_ERR_ARGUMENT (-3)     /* bad argument string, keyword, value, cell name */
#define OXLS_ERR_UNSUPPORTED (-4)  /* file of an unsupported kind */
#define OXLS_ERR_OPEN (-101)       /* the book file cannot be opened */
#define OXLS_ERR_PROBE (-102)      /* the book file cannot be probed */
#define OXLS_ERR_WRITE (-103)      /* the book file cannot be written */
#define OXLS_ERR_NOT_FOUND (-801)  /* sheet, cell or range does not exist */
#define OXLS_ERR_SHEET_RANGE (-901)
#define OXLS_ERR_ROW_RANGE (-902)
#define OXLS_ERR_COLUMN_RANGE (-903)
#define OXLS_ERR_BUFFER (-909)     /* a value overflowed a fixed buffer (OXLS-03009) */
#define OXLS_ERR_XLS_UNREADABLE (-910) /* password-protected or invalid Excel 97-2003 book */
#define OXLS_NOT_SUPPORTED (-999)  /* a call this library does not implement */

/* Fixed sizes. */
#define XLS_SHEET_LEN 93        /* longest sheet name in bytes (UTF-8) */
#define XLS_PATH_LEN 256        /* longest path in bytes */
#define XLS_ERROR_LEN 6001      /* error text buffer */
#define XLS_CELL_UTF8_LEN 98301 /* longest cell text in bytes (UTF-8) */

/* Character-set codes. */
#define OXLS_CHARSET_SJIS 1
#define OXLS_CHARSET_EUC 2
#define OXLS_CHARSET_UTF8 3
#define OXLS_CHARSET_UTF16BE 4

/* Cell type codes; a negative code means the cell is empty. */
#define XLS_CELL_EMPTY (-1)
#define XLS_CELL_TEXT 0
#define XLS_CELL_INTEGER 11
#define XLS_CELL_DECIMAL 12
#define XLS_CELL_PERCENT 13
#define XLS_CELL_DATE 20
#define XLS_CELL_DATE_TIME 21
#define XLS_CELL_TIME_HM 23
#define XLS_CELL_TIME_HMS 24
#define XLS_CELL_TYPING_STRING 40 /* only while a value is being typed */
#define XLS_CELL_SHARED_STRING 41
#define XLS_CELL_FORMULA 50
#define XLS_CELL_FORMULA_VALUE 51

/* One cell.  Texts are UTF-8, owned by the book (malloc'ed). */
typedef struct XLS_CELL {
    signed char type;      /* XLS_CELL_*; negative: empty */
    unsigned int style;    /* 0 none, else cell-format (XF) position plus one */
    int number;            /* whole part; day serial; shared string index */
    char *text;            /* value text */
    char *formula;         /* formula text */
    char *extra;           /* attributes kept by the package reader */
} XLS_CELL;

/* One row: the cells sit at the index of their column. */
typedef struct XLS_ROW {
    XLS_CELL *cells;
    short cell_count;        /* highest stored column index plus one */
    unsigned short height;   /* hundredths of a point, 0 = default */
    unsigned char hidden;
} XLS_ROW;

/* One sheet. */
typedef struct XLS_SHEET {
    char name[XLS_SHEET_LEN + 1]; /* UTF-8, NUL-terminated */
    int template_index;           /* sheet this one was made from, -1 none */
    XLS_ROW *rows;
    int row_count;                /* highest row index holding a cell plus one */
    int row_capacity;
    /* Writing side. */
    double *column_widths;        /* one per column, 0 = not set */
    int column_width_count;       /* used-column count */
    int width_from_template;
    unsigned int *column_styles;  /* default style per column */
    int column_style_count;
    int visible;
    int default_row_height;       /* hundredths of a point */
    int zoom;
    void *extension;              /* per-sheet tables of the library (merges, links) */
} XLS_SHEET;

/* One entry of the shared string table. */
typedef struct XLS_SST_ENTRY {
    unsigned int index;
    unsigned int length;   /* bytes */
    char *text;            /* UTF-8 */
} XLS_SST_ENTRY;

/* The error state of a book. */
typedef struct XLS_LOG {
    char error_info[XLS_ERROR_LEN];       /* last error text, Shift-JIS */
    char error_converted[XLS_ERROR_LEN + 2]; /* the same in the caller's character set */
    int error_code;                       /* code of the last call */
} XLS_LOG;

/* The book record.  Caller-owned, passed by address to every book call.
 * The field order is part of the interface; the record is padded to
 * XLS_BOOK_SIZE bytes on every supported target. */
typedef struct XLS_BOOK {
    int reserved;
    int thread_no;                 /* THREAD=, -1 when absent */
    void *work;                    /* the library's private per-book area */
    char file_name[276];           /* full path of the book */
    int tuning[4];                 /* 10, 10, 10000, 18000 */
    unsigned char flags[16];       /* option flags: 0xFF on, 0 off (OXLS_FLAG_*) */
    char temp_workbook_path[259];  /* TEMP_WORKBOOK_PATH= */
    int row_limit;
    int column_limit;
    int text_limit;                /* 32768 */
    int shared_text_limit;         /* 65534 */
    int kind[2];                   /* file type the record was set up for */
    char company[256];
    char author[256];
    XLS_LOG log;
    int current_sheet;
    void *styles;                  /* style tables (library-owned) */
    XLS_SST_ENTRY *sst;
    int sst_count;
    int sst_capacity;
    void *images;
    void *names;
    XLS_SHEET *sheets;
    int sheet_count;
    int sheet_capacity;
    char **extract_list;           /* package part names after an Excel 2007 read */
    int extract_count;
    void *name_list;               /* MODE=UNLOAD_NAME only */
    int last_row;                  /* row of the last cell found by OXLS_get_cell */
    int last_column;
    void *extension;               /* further book-wide tables of the library */
    unsigned char padding[XLS_BOOK_SIZE - 13232];
} XLS_BOOK;

#if defined(__x86_64__) || defined(_M_X64)
#  ifdef __cplusplus
static_assert(sizeof(XLS_BOOK) == XLS_BOOK_SIZE, "XLS_BOOK must keep its published size");
#  else
_Static_assert(sizeof(XLS_BOOK) == XLS_BOOK_SIZE, "XLS_BOOK must keep its published size");
#  endif
#endif

/* Option flag indexes in XLS_BOOK.flags.  Every flag starts on (0xFF) when a
 * book is opened; OXLS_open_book clears (0) the ones its keywords and the
 * book's kind ask for. */
#define OXLS_FLAG_CREATE 0          /* on: a new book (create mode); off after a read */
#define OXLS_FLAG_READ_MEMORY 1     /* 0: the book was read from a memory file (READ_MEMORY=TRUE) */
#define OXLS_FLAG_WRITE_MEMORY 2    /* 0: the saved book goes to a memory file (WRITE_MEMORY=TRUE) */
#define OXLS_FLAG_FORMATTED_TEXT 3  /* 0: cells come back formatted (MODE=UNLOAD, UNLOAD_NAME) */
#define OXLS_FLAG_KEEP_STYLES 4     /* 0: style tables start empty and come from the book (LOAD, UNLOAD, UNLOAD_NAME) */
#define OXLS_FLAG_KEEP_NAMES 5      /* 0: defined names are read into the name list (UNLOAD_NAME) */
#define OXLS_FLAG_MACRO_BOOK 6      /* 0: the book read is macro-enabled (.xlsm) */

/* The search request of OXLS_search. */
typedef struct XLS_SEARCH {
    int match_mode;          /* 1: ignore letter case; else exact */
    int remaining;           /* 0 starts a new search */
    char sheet_name[94];
    char range[34];
    int direction;           /* 0 along the row, else down the column */
    int count;               /* result texts wanted per call */
    int hit_sheet;
    int hit_row;             /* 0-based */
    int hit_column;          /* 0-based */
} XLS_SEARCH;

/* Books. */
OXLS_API int OXLS_open_book(XLS_BOOK *book, const char *args);
OXLS_API int OXLS_close_book(XLS_BOOK *book, const char *args);
OXLS_API int OXLS_free_book(XLS_BOOK *book);
OXLS_API int OXLS_swap_book(int direction);

/* Sheets. */
OXLS_API int OXLS_open_sheet(XLS_BOOK *book, const char *args);
OXLS_API int OXLS_open_sheet2(XLS_BOOK *book, int sheet_index);
OXLS_API int OXLS_sheet_num(XLS_BOOK *book);
OXLS_API int OXLS_sheet_name(XLS_BOOK *book, int sheet_index, char *name_out);
OXLS_API int OXLS_row_num(XLS_BOOK *book);
OXLS_API int OXLS_column_num(XLS_BOOK *book, int row_index);

/* Cell names. */
OXLS_API int OXLS_cell_name(int row, int column, char *name_out);
OXLS_API int OXLS_cell_range(int row1, int column1, int row2, int column2, char *name_out);
OXLS_API int OXLS_is_cell(XLS_BOOK *book, const char *cell, int *row_out, int *column_out);
OXLS_API int OXLS_is_range(XLS_BOOK *book, const char *range, int *row1_out, int *column1_out,
                           int *row2_out, int *column2_out);
OXLS_API int OXLS_is_property(XLS_BOOK *book, const char *property, int *value_out);
OXLS_API int OXLS_set_property(void);

/* Reading cells. */
OXLS_API int OXLS_get_cell(XLS_BOOK *book, const char *cell, char *text_out, int text_size,
                           char *type_out, int type_size);
OXLS_API int OXLS_get_format_cell(XLS_BOOK *book, const char *cell, char *text_out, int text_size,
                                  int date_format, int number_format, int decimals);
OXLS_API int OXLS_get_cells(XLS_BOOK *book, int direction, int sheet_index, int row, int column,
                            int count, char **texts_out);
OXLS_API int OXLS_search(XLS_BOOK *book, XLS_SEARCH *request, const char *key, char **texts_out);

/* Writing cells. */
OXLS_API int OXLS_put_values(XLS_BOOK *book, const char *values);
OXLS_API int OXLS_put_cell(XLS_BOOK *book, const char *cell, const char *value, int reserved);
OXLS_API int OXLS_write_row(XLS_BOOK *book, int row);
OXLS_API int OXLS_sheet_hyperlink(XLS_BOOK *book, const char *cell, const char *sheet_name,
                                  const char *target_cell);
OXLS_API int OXLS_book_hyperlink(XLS_BOOK *book, const char *cell, const char *book_path,
                                 const char *sheet_name, const char *target_cell);
OXLS_API int OXLS_external_hyperlink(XLS_BOOK *book, const char *cell, const char *target);

/* Calls of the further library features; they return OXLS_NOT_SUPPORTED. */
OXLS_API int OXLS_put_image_memory(XLS_BOOK *book, const char *args);
OXLS_API int OXLS_put_variable(XLS_BOOK *book, const char *args);
OXLS_API int OXLS_read_file(XLS_BOOK *book, const char *args);

/* Data sources: accepted and ignored. */
OXLS_API int OXLS_open_datasource(XLS_BOOK *book, const char *args);
OXLS_API int OXLS_paste_datasource(XLS_BOOK *book, const char *args);
OXLS_API int OXLS_close_datasource(XLS_BOOK *book, const char *args);

/* Errors and information. */
OXLS_API int OXLS_error_code(XLS_BOOK *book);
OXLS_API const char *OXLS_error_mesg(XLS_BOOK *book);
OXLS_API int OXLS_version(XLS_BOOK *book, char *version_out);
OXLS_API int OXLS_help(void);
OXLS_API int OXLS_debug(const char *text);

/* Utilities. */
OXLS_API int orb_file_type(int source, const char *path, int *type_out);
/* flag 0: zip files go to memory files from now on; otherwise to disk. */
OXLS_API int orb_zip_on_memory(int flag);

#ifdef __cplusplus
}
#endif

#endif /* ZWEAVE_OXLS_H */
