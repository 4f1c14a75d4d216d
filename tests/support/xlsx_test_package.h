// Helpers for the package reader tests: writing small packages with
// minizip, and opening books through the call interface.
#pragma once

#include "oxls.h"
#include "test_folder.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace xlsx_test {

using Parts = std::vector<std::pair<std::string, std::string>>;

// Writes a zip package holding the parts in the given order, compressed
// with `method` (0 stores them), with zip64 records when `zip64` is 1, and
// through `functions` when given (the library's tables reach memory files).
inline bool write_package(const std::string &path, const Parts &parts, int method = Z_DEFLATED, int zip64 = 0,
                          zlib_filefunc64_def *functions = nullptr) {
    zipFile zip = zipOpen2_64(path.c_str(), APPEND_STATUS_CREATE, nullptr, functions);
    if (!zip) return false;
    bool ok = true;
    for (const auto &[name, text] : parts) {
        zip_fileinfo info{};
        ok = ok && zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, method,
                                         Z_DEFAULT_COMPRESSION, zip64) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zip, text.data(), static_cast<unsigned>(text.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

// A workbook part listing these sheet names.
inline std::string workbook_xml(const std::vector<std::string> &names) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>";
    for (size_t i = 0; i < names.size(); ++i)
        xml += "<sheet name=\"" + names[i] + "\" sheetId=\"" + std::to_string(i + 1) + "\" r:id=\"rId" +
               std::to_string(i + 1) + "\"/>";
    return xml + "</sheets></workbook>";
}

// A worksheet part around the given rows (the XML inside <sheetData>) and
// what follows the cell data.
inline std::string sheet_xml(const std::string &rows, const std::string &after = "") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
           rows + "</sheetData>" + after + "</worksheet>";
}

// A row holding inline-string cells with these texts from column A on.
inline std::string text_row(int row, const std::vector<std::string> &texts) {
    std::string xml = "<row r=\"" + std::to_string(row) + "\">";
    for (size_t i = 0; i < texts.size(); ++i)
        xml += "<c r=\"" + std::string(1, static_cast<char>('A' + i)) + std::to_string(row) +
               "\" t=\"inlineStr\"><is><t>" + texts[i] + "</t></is></c>";
    return xml + "</row>";
}

// The start of the relationship types of the parts of a book: "worksheet",
// "sharedStrings" and so on follow.
inline const std::string kRelType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A relationships part of {Id, Type, Target} items.
inline std::string rels_part(const std::vector<std::vector<std::string>> &items) {
    std::string xml = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    for (const auto &item : items)
        xml += "<Relationship Id=\"" + item[0] + "\" Type=\"" + item[1] + "\" Target=\"" + item[2] + "\"/>";
    return xml + "</Relationships>";
}

inline const char *kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>";

// A book record opened through OXLS_open_book and closed at the end.
class OpenBook {
public:
    // Opens `path` with `CHARSET=<charset> EXCEL="path" MODE=<mode>` plus `extra`
    // (the character set first: the path is read in it).
    explicit OpenBook(const std::string &path, const std::string &mode = "UNLOAD",
                      const std::string &charset = "UTF8", const std::string &extra = "")
        : book_(std::make_unique<XLS_BOOK>()) {
        std::string args = "CHARSET=" + charset + " EXCEL=\"" + path + "\" MODE=" + mode + " " + extra;
        rc_ = OXLS_open_book(book_.get(), args.c_str());
    }
    ~OpenBook() {
        if (rc_ == 0) OXLS_close_book(book_.get(), nullptr);
        else OXLS_free_book(book_.get());
    }
    OpenBook(const OpenBook &) = delete;
    OpenBook &operator=(const OpenBook &) = delete;

    int rc() const { return rc_; }
    XLS_BOOK *get() { return book_.get(); }

    // The text of a cell of a sheet, or "<rc=N>" when the call fails.
    std::string text(int sheet, const std::string &cell) {
        if (OXLS_open_sheet2(get(), sheet) != 0) return "<no sheet>";
        std::vector<char> buffer(XLS_CELL_UTF8_LEN + 1);
        int rc = OXLS_get_cell(get(), cell.c_str(), buffer.data(), static_cast<int>(buffer.size()), nullptr, 0);
        return rc == 0 ? std::string(buffer.data()) : "<rc=" + std::to_string(rc) + ">";
    }

private:
    std::unique_ptr<XLS_BOOK> book_;
    int rc_ = -1;
};

}  // namespace xlsx_test
