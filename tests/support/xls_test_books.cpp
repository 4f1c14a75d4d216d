// Building Excel 97-2003 books for the reader tests.
#include "xls_test_books.h"

#include "mfile.h"
#include "oxls.h"
#include "xls/cfb_reader.h"
#include "readers.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>


namespace xlstest {

std::string le16(unsigned value) {
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}

std::string le32(uint32_t value) { return le16(value & 0xFFFF) + le16(value >> 16); }

std::string utf16le(const std::u16string &text) {
    std::string bytes;
    for (char16_t c : text) bytes += le16(c);
    return bytes;
}

std::string le64(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return le32(static_cast<uint32_t>(bits)) + le32(static_cast<uint32_t>(bits >> 32));
}

std::string record(uint16_t number, const std::string &data) { return le16(number) + le16(static_cast<unsigned>(data.size())) + data; }

std::string bof(uint16_t type, uint16_t version) {
    return record(0x0809, le16(version) + le16(type) + le16(0x0DBB) + le16(0x07CC) + le32(0) + le32(0x06));
}

std::string eof() { return record(0x000A, ""); }

std::string codepage(uint16_t page) { return record(0x0042, le16(page)); }

std::string boundsheet8(const std::string &name, uint8_t kind, uint32_t position) {
    return record(0x0085, le32(position) + std::string{0, static_cast<char>(kind), static_cast<char>(name.size()), 0} + name);
}

std::string boundsheet16(const std::u16string &name, uint8_t kind, uint32_t position) {
    return record(0x0085, le32(position) + std::string{0, static_cast<char>(kind), static_cast<char>(name.size()), 1} +
                              utf16le(name));
}

std::string xf(uint16_t number_format, bool style_only) {
    return record(0x00E0, le16(0) + le16(number_format) + le16(style_only ? 0xFFF5 : 0x0001) + std::string(14, '\0'));
}

std::string sst_string8(const std::string &text) { return le16(static_cast<unsigned>(text.size())) + std::string(1, '\0') + text; }

std::string sst_string16(const std::u16string &text) {
    return le16(static_cast<unsigned>(text.size())) + std::string(1, '\1') + utf16le(text);
}

std::string format(uint16_t number, const std::string &code) { return record(0x041E, le16(number) + sst_string8(code)); }

std::string format16(uint16_t number, const std::u16string &code) { return record(0x041E, le16(number) + sst_string16(code)); }

static std::string cell_header(unsigned row, unsigned column, unsigned format) {
    return le16(row) + le16(column) + le16(format);
}

std::string number(unsigned row, unsigned column, unsigned format, double value) {
    return record(0x0203, cell_header(row, column, format) + le64(value));
}

std::string rk(unsigned row, unsigned column, unsigned format, uint32_t value) {
    return record(0x027E, cell_header(row, column, format) + le32(value));
}

std::string labelsst(unsigned row, unsigned column, uint32_t index) {
    return record(0x00FD, cell_header(row, column, 15) + le32(index));
}

std::string label16(unsigned row, unsigned column, const std::u16string &text) {
    return record(0x0204, cell_header(row, column, 15) + sst_string16(text));
}

std::string label8(unsigned row, unsigned column, const std::string &bytes) {
    return record(0x0204, cell_header(row, column, 15) + sst_string8(bytes));
}

std::string blank(unsigned row, unsigned column) { return record(0x0201, cell_header(row, column, 15)); }

std::string boolerr(unsigned row, unsigned column, bool value, bool is_error) {
    return record(0x0205, cell_header(row, column, 15) + std::string{static_cast<char>(value), static_cast<char>(is_error)});
}

std::string formula_number(unsigned row, unsigned column, unsigned format, double value) {
    return record(0x0006, cell_header(row, column, format) + le64(value) + le16(0) + le32(0) + le16(0));
}

std::string formula_other(unsigned row, unsigned column, uint8_t kind, uint8_t value) {
    std::string result{static_cast<char>(kind), 0, static_cast<char>(value), 0, 0, 0, '\xFF', '\xFF'};
    return record(0x0006, cell_header(row, column, 15) + result + le16(0) + le32(0) + le16(0));
}

std::string string8(const std::string &text) { return record(0x0207, sst_string8(text)); }

std::string sst(uint32_t total, uint32_t unique, const std::string &first) { return record(0x00FC, le32(total) + le32(unique) + first); }

std::string continue_record(const std::string &piece) { return record(0x003C, piece); }

std::string workbook(const std::string &globals, const std::vector<std::string> &sheet_names,
                     const std::vector<std::string> &sheets) {
    std::string stream = bof(0x0005);
    for (int i = 0; i < 21; ++i) stream += xf(0, i < 15 && i != 0);
    for (const std::string &name : sheet_names) stream += boundsheet8(name);
    stream += globals + eof();
    for (const std::string &sheet : sheets) stream += bof(0x0010) + sheet + eof();
    return stream;
}

// ---- compound files -----------------------------------------------------------

namespace {

constexpr uint32_t kFree = 0xFFFFFFFF;
constexpr uint32_t kEnd = 0xFFFFFFFE;
constexpr uint32_t kFatMark = 0xFFFFFFFD;
constexpr size_t kMiniSize = 64;

struct SectorFile {
    size_t size;
    std::vector<uint32_t> fat;
    std::vector<std::string> data;

    // Appends the chain holding `bytes`; its first sector or kEnd.
    uint32_t add_chain(const std::string &bytes) {
        if (bytes.empty()) return kEnd;
        const uint32_t first = static_cast<uint32_t>(fat.size());
        for (size_t at = 0; at < bytes.size(); at += size) {
            std::string sector = bytes.substr(at, size);
            sector.resize(size, '\0');
            data.push_back(sector);
            fat.push_back(at + size < bytes.size() ? static_cast<uint32_t>(fat.size() + 1) : kEnd);
        }
        return first;
    }
};

std::string directory_entry(const std::u16string &name, uint8_t type, uint32_t next, uint32_t child, uint32_t start,
                            uint32_t size) {
    std::string entry = utf16le(name);
    entry.resize(64, '\0');
    entry += le16(static_cast<unsigned>((name.size() + 1) * 2));
    entry += std::string{static_cast<char>(type), 1};
    entry += le32(kFree) + le32(next) + le32(child);
    entry.resize(116, '\0');
    return entry + le32(start) + le32(size) + le32(0);
}

}  // namespace

std::string compound_file(const std::vector<Stream> &streams) {
    SectorFile file{512, {}, {}};
    std::string mini_stream;
    std::string mini_fat;
    std::vector<uint32_t> starts;
    for (const Stream &s : streams) {
        if (s.data.size() >= 4096) {
            starts.push_back(file.add_chain(s.data));
            continue;
        }
        const uint32_t first = static_cast<uint32_t>(mini_stream.size() / kMiniSize);
        const size_t blocks = (s.data.size() + kMiniSize - 1) / kMiniSize;
        for (size_t b = 0; b < blocks; ++b) mini_fat += le32(b + 1 < blocks ? first + static_cast<uint32_t>(b) + 1 : kEnd);
        std::string padded = s.data;
        padded.resize(blocks * kMiniSize, '\0');
        mini_stream += padded;
        starts.push_back(blocks ? first : kEnd);
    }
    const uint32_t mini_start = file.add_chain(mini_stream);
    const uint32_t mini_fat_start = file.add_chain(mini_fat);
    std::string directory = directory_entry(u"Root Entry", 5, kFree, streams.empty() ? kFree : 1, mini_start,
                                            static_cast<uint32_t>(mini_stream.size()));
    for (size_t i = 0; i < streams.size(); ++i)
        directory += directory_entry(streams[i].name, 2, i + 1 < streams.size() ? static_cast<uint32_t>(i + 2) : kFree,
                                     kFree, starts[i], static_cast<uint32_t>(streams[i].data.size()));
    const uint32_t directory_start = file.add_chain(directory);

    // Table sectors, at most the header's 109: enough to cover every
    // sector, themselves included.
    size_t fat_sectors = 1;
    while (file.fat.size() + fat_sectors > fat_sectors * 128) ++fat_sectors;
    const uint32_t first_fat = static_cast<uint32_t>(file.fat.size());
    for (size_t i = 0; i < fat_sectors; ++i) file.fat.push_back(kFatMark);
    std::string fat;
    for (uint32_t entry : file.fat) fat += le32(entry);
    fat.resize(fat_sectors * file.size, '\xFF');

    std::string header = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(16, '\0') + le16(0x3E) + le16(3) + le16(0xFFFE) +
                         le16(9) + le16(6) + std::string(10, '\0') + le32(static_cast<uint32_t>(fat_sectors)) +
                         le32(directory_start) + le32(0) + le32(4096) + le32(mini_fat_start) +
                         le32(static_cast<uint32_t>((mini_fat.size() + file.size - 1) / file.size)) + le32(kEnd) + le32(0);
    for (size_t i = 0; i < 109; ++i) header += le32(i < fat_sectors ? first_fat + static_cast<uint32_t>(i) : kFree);
    header.resize(512, '\0');
    std::string out = header;
    for (const std::string &sector : file.data) out += sector;
    return out + fat;
}

// ---- loading --------------------------------------------------------------------

namespace {

constexpr const char *kStreamFile = "zs_xls_test_workbook_stream";

}  // namespace

LoadedBook::LoadedBook() {
    work.mode = 4;   // UNLOAD
    book.work = &work;
    ozw_init_book(&book, BOOK_KIND_XLS);
}

LoadedBook::~LoadedBook() {
    book.temp_workbook_path[0] = '\0';
    ozw_release_book(&book);
    // Memory-file records stay in the process table until it is emptied,
    // as closing a book does.
    mfree_all();
}

const XLS_CELL *LoadedBook::cell(int sheet, int row, int column) const {
    if (sheet < 0 || sheet >= book.sheet_count) return nullptr;
    const XLS_SHEET &s = book.sheets[sheet];
    if (row < 0 || row >= s.row_count || column < 0 || column >= s.rows[row].cell_count) return nullptr;
    return &s.rows[row].cells[column];
}

std::string LoadedBook::text(int sheet, int row, int column) const {
    const XLS_CELL *c = cell(sheet, row, column);
    if (!c) return "<none>";
    if (c->type == XLS_CELL_TEXT) return c->text ? c->text : "";
    if (c->type == XLS_CELL_SHARED_STRING && c->number >= 0 && c->number < book.sst_count) return book.sst[c->number].text;
    return "<type " + std::to_string(c->type) + ">";
}

std::string LoadedBook::last_message() const {
    return work.message_count > 0 ? work.messages[work.message_count - 1] : "";
}

void load_extracted(LoadedBook &loaded, const char *path) {
    loaded.rc = cfb_extract_workbook(path, kStreamFile);
    if (loaded.rc != 0) return;
    std::snprintf(loaded.book.temp_workbook_path, sizeof loaded.book.temp_workbook_path, "%s", kStreamFile);
    loaded.rc = ozw_read_excel2003(&loaded.book, path);
    loaded.book.temp_workbook_path[0] = '\0';
}

bool is_xls_name(const std::string &name) {
    std::string ending = name.substr(name.size() < 4 ? 0 : name.size() - 4);
    for (char &c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".xls";
}

bool is_compound_file(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    char signature[8] = {};
    return in.read(signature, sizeof signature) && std::string(signature, sizeof signature) == "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
}

int open_through_stream_copy(XLS_BOOK &book, const std::string &path, int *extraction) {
    std::string arguments = "CHARSET=UTF8 EXCEL=\"" + path + "\" MODE=UNLOAD";
    if (is_xls_name(path) && is_compound_file(path)) {
        const int copied = cfb_extract_workbook(path.c_str(), kStreamFile);
        if (extraction) *extraction = copied;
        if (copied != 0) return kNotExtracted;
        arguments += std::string(" TEMP_WORKBOOK_PATH=\"") + kStreamFile + "\"";
    }
    return OXLS_open_book(&book, arguments.c_str());
}

void load_scanned(LoadedBook &loaded, const char *path) { loaded.rc = ozw_read_excel2003(&loaded.book, path); }

void load_stream(LoadedBook &loaded, const std::string &stream) {
    TempFile file("stream.xls", compound_file({{u"Workbook", stream}}));
    load_extracted(loaded, file.path());
}

}  // namespace xlstest
