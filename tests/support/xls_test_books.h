// Building Excel 97-2003 books for the reader tests: BIFF records, whole
// workbook streams, compound files around them, and loading the result
// into a book record the way OXLS_open_book does.
#pragma once

#include "book_record.h"
#include "test_folder.h"
#include "work_area.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xlstest {

// ---- BIFF records ---------------------------------------------------------
std::string le16(unsigned value);
std::string le32(uint32_t value);
std::string le64(double value);
// The characters as UTF-16 little-endian bytes, without a terminator.
std::string utf16le(const std::u16string &text);
std::string record(uint16_t number, const std::string &data);

std::string bof(uint16_t type, uint16_t version = 0x0600);
std::string eof();
std::string codepage(uint16_t page);
// A sheet of the list with an 8-bit name (its bytes as given) or a UTF-16
// name; `kind` 0 worksheet, 2 chart; `position` of the sheet's BOF record.
std::string boundsheet8(const std::string &name, uint8_t kind = 0, uint32_t position = 0);
std::string boundsheet16(const std::u16string &name, uint8_t kind = 0, uint32_t position = 0);
std::string xf(uint16_t number_format, bool style_only = false);
std::string format(uint16_t number, const std::string &code);
std::string format16(uint16_t number, const std::u16string &code);
std::string number(unsigned row, unsigned column, unsigned format, double value);
std::string rk(unsigned row, unsigned column, unsigned format, uint32_t value);
std::string labelsst(unsigned row, unsigned column, uint32_t index);
std::string label16(unsigned row, unsigned column, const std::u16string &text);
std::string label8(unsigned row, unsigned column, const std::string &bytes);   // BIFF8 compressed
std::string blank(unsigned row, unsigned column);
std::string boolerr(unsigned row, unsigned column, bool value, bool is_error = false);
std::string formula_number(unsigned row, unsigned column, unsigned format, double value);
// A formula whose result is not a number: kind 0 text (a STRING record
// follows), 1 boolean, 2 error, 3 empty text.
std::string formula_other(unsigned row, unsigned column, uint8_t kind, uint8_t value = 0);
std::string string8(const std::string &text);

// BIFF8 strings with a 16-bit length and the option byte, as shared
// strings, cell texts and number format codes hold them.
std::string sst_string8(const std::string &text);
std::string sst_string16(const std::u16string &text);
// The SST record's counts followed by `first`, and CONTINUE records for
// the further pieces.
std::string sst(uint32_t total, uint32_t unique, const std::string &first);
std::string continue_record(const std::string &piece);

// A whole stream: the globals records, one sheet listed per entry of
// `sheet_names` (8-bit names), then one worksheet substream per entry of
// `sheets` (their records between BOF and EOF).  Cell formats 0 to 20 are
// general cell formats.
std::string workbook(const std::string &globals, const std::vector<std::string> &sheet_names,
                     const std::vector<std::string> &sheets);

// ---- compound files ---------------------------------------------------------
struct Stream {
    std::u16string name;
    std::string data;
};
// A compound file of 512-byte sectors holding the streams below the root;
// streams shorter than 4096 bytes go into small blocks.
std::string compound_file(const std::vector<Stream> &streams);

// A file holding `bytes` in a folder of the test's own, removed with it.
class TempFile {
public:
    TempFile(const std::string &name, const std::string &bytes) : path_(folder_.write(name, bytes)) {}
    const char *path() const { return path_.c_str(); }

private:
    TempFolder folder_{"zs_xls_test"};
    std::string path_;
};

// ---- loading ----------------------------------------------------------------
// A book record with its work area (mode UNLOAD), released on destruction
// together with every memory file of the process.
struct LoadedBook {
    XLS_BOOK book{};
    OzwWork work{};
    int rc = 0;
    LoadedBook();
    ~LoadedBook();
    LoadedBook(const LoadedBook &) = delete;
    LoadedBook &operator=(const LoadedBook &) = delete;
    // The cell at (sheet, row, column), or null outside the tables.
    const XLS_CELL *cell(int sheet, int row, int column) const;
    // The text of a text or shared-string cell; "<type N>" otherwise.
    std::string text(int sheet, int row, int column) const;
    std::string error() const { return book.log.error_info; }
    std::string last_message() const;
};

// Opens the book file at `path` through OXLS_open_book in UTF-8 and mode
// UNLOAD: a compound file named .xls (any letter case) through a copy of its
// workbook stream in a memory file (TEMP_WORKBOOK_PATH), a bare workbook
// stream as it is.  The result of the open, or kNotExtracted when the stream
// could not be copied (the copy's code in *extraction).
constexpr int kNotExtracted = 1;
int open_through_stream_copy(XLS_BOOK &book, const std::string &path, int *extraction = nullptr);
// Whether the file begins with the compound-file signature.
bool is_compound_file(const std::string &path);
// Whether a file name ends in .xls, in any letter case.
bool is_xls_name(const std::string &name);

// Reads the book file at `path` through a copy of its workbook stream in a
// memory file, named by TEMP_WORKBOOK_PATH.
void load_extracted(LoadedBook &loaded, const char *path);
// Reads the book file at `path` through the direct scan.
void load_scanned(LoadedBook &loaded, const char *path);
// Wraps a workbook stream into a compound file and reads it through the
// memory-file path.
void load_stream(LoadedBook &loaded, const std::string &stream);

}  // namespace xlstest
