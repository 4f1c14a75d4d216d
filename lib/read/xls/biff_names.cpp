// The names of a book's name list (kept when it is opened with
// MODE=UNLOAD_NAME): defined names, external books, user-defined styles
// and name comments, each with a prefix that says what it is.
#include "xls/biff_workbook.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

constexpr const char *kNamePrefix = "・名前:";
constexpr const char *kStylePrefix = "・スタイル:";
constexpr const char *kCommentPrefix = "・名前コメント:";

// Built-in defined names are stored as a one-character code.
constexpr const char *kBuiltinNames[] = {"Consolidate_Area", "Auto_Open",    "Auto_Close",      "Extract",
                                         "Database",         "Criteria",     "Print_Area",      "Print_Titles",
                                         "Recorder",         "Data_Form",    "Auto_Activate",   "Auto_Deactivate",
                                         "Sheet_Title",      "_FilterDatabase"};

constexpr uint16_t kBuiltinName = 0x0020;       // NAME option bit
constexpr uint16_t kBuiltinStyle = 0x8000;      // STYLE format-index bit
constexpr uint16_t kSelfReference = 0x0401;     // SUPBOOK of the book itself
constexpr uint16_t kAddInReference = 0x3A01;    // SUPBOOK of add-in functions
constexpr size_t kNameHeader = 14;              // NAME fields before the name
constexpr size_t kCommentHeader = 16;           // NAMECMT fields before the name

}  // namespace

int BiffWorkbookLoader::on_listed_name(const biff::Record &record) {
    const unsigned char *d = record.data;
    const size_t length = record.length;
    BiffStringField field;
    const char *prefix = kNamePrefix;
    switch (record.number) {
    case biff::NAME: {
        if (length < kNameHeader) return 0;
        field.chars = d[3];
        field.offset = kNameHeader;
        if (biff8_ && length > kNameHeader) field.wide = (d[field.offset++] & 1) != 0;
        field.chars = std::min(field.chars, (length - field.offset) / (field.wide ? 2 : 1));
        if ((biff::u16(d) & kBuiltinName) && field.chars >= 1) {
            const unsigned code = field.wide ? biff::u16(d + field.offset) : d[field.offset];
            if (code < std::size(kBuiltinNames))
                return sink_.listed_name(context_, std::string(kNamePrefix) + kBuiltinNames[code]);
        }
        break;
    }
    case biff::SUPBOOK:
        if (length < 4 || biff::u16(d + 2) == kSelfReference || biff::u16(d + 2) == kAddInReference ||
            !biff_string_field(d, length, 2, 2, biff8_, field))
            return 0;
        break;
    case biff::STYLE:
        prefix = kStylePrefix;
        if (length < 2 || (biff::u16(d) & kBuiltinStyle) || !biff_string_field(d, length, 2, 2, biff8_, field)) return 0;
        break;
    default:   // NAMECMT: a future-record header, the name and comment lengths, the name
        prefix = kCommentPrefix;
        if (length < kCommentHeader + 1) return 0;
        field.chars = biff::u16(d + 12);
        field.wide = (d[kCommentHeader] & 1) != 0;
        field.offset = kCommentHeader + 1;
        field.chars = std::min(field.chars, (length - field.offset) / (field.wide ? 2 : 1));
        break;
    }
    return sink_.listed_name(context_, prefix + biff_field_text(d, field, decoder_));
}
