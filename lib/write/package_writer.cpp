// Saving a book opened in create mode as a new Excel 2007 package: every
// part is built as a whole text, put into a part file (a memory file, or a
// file on disk when memory runs short), and the parts are zipped into the
// book file in package order.
#include "book_writer.h"

#include "book_properties.h"
#include "book_record.h"
#include "messages.h"
#include "platform/platform.h"
#include "result_codes.h"
#include "temp_folders.h"
#include "work_area.h"
#include "caller_text.h"
#include "cell_store.h"
#include "package_parts.h"
#include "printer_settings.h"
#include "zip_package.h"
#include "zip_extract.h"

#include <cstdio>
#include <functional>
#include <new>
#include <string>
#include <vector>

namespace {

// A part of the package: its name and how its text is made.
struct PackagePart {
    std::string name;
    std::function<void(std::string &)> build;
};

bool saves_to_memory(const XLS_BOOK *book) { return book->flags[OXLS_FLAG_WRITE_MEMORY] == 0; }

// A book without sheets is saved with "Sheet1" to "Sheet3"; cells written
// into it before any sheet was added live in the first of them.
int ensure_sheets(XLS_BOOK *book) {
    const BookProperties *properties = ozw_find_book_properties(book);
    bool implicit = properties && properties->implicit_first_sheet && book->sheet_count == 1;
    if (book->sheet_count > 0 && !implicit) return 0;
    for (int number = book->sheet_count + 1; number <= 3; ++number) {
        int rc = ozw_add_sheet(book, ("Sheet" + std::to_string(number)).c_str());
        if (rc < 0) return rc;
    }
    if (BookProperties *writable = ozw_book_properties(book)) writable->implicit_first_sheet = false;
    return 0;
}

// The save time as a W3CDTF text: the local time written with a "Z".
std::string timestamp_now() {
    std::tm now = zplat::local_time();
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", now.tm_year + 1900, now.tm_mon + 1,
                  now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
    return text;
}

// Every part in package (zip) order.
std::vector<PackagePart> package_parts(XLS_BOOK *book, const std::string &timestamp) {
    std::vector<PackagePart> parts = {
        {"[Content_Types].xml", [book](std::string &out) { ozw_xml_content_types(book, out); }},
        {"_rels/.rels", [](std::string &out) { ozw_xml_package_rels(out); }},
        {"docProps/app.xml", [book](std::string &out) { ozw_xml_app(book, out); }},
        {"docProps/core.xml", [book, timestamp](std::string &out) { ozw_xml_core(book, timestamp, out); }},
        {"xl/_rels/workbook.xml.rels", [book](std::string &out) { ozw_xml_workbook_rels(book, out); }},
        {"xl/theme/theme1.xml", [](std::string &out) { ozw_xml_theme(out); }},
        {"xl/styles.xml", [book](std::string &out) { ozw_xml_styles(book, out); }},
        {"xl/workbook.xml", [book](std::string &out) { ozw_xml_workbook(book, out); }},
        {"xl/sharedStrings.xml", [book](std::string &out) { ozw_xml_sst(book, out); }},
    };
    int n = book->sheet_count;
    for (int i = 0; i < n; ++i)
        parts.push_back({"xl/worksheets/sheet" + std::to_string(i + 1) + ".xml",
                         [book, i](std::string &out) { ozw_xml_worksheet(book, i, out); }});
    for (int i = 0; i < n; ++i) {
        std::string number = std::to_string(i + 1);
        parts.push_back({"xl/worksheets/_rels/sheet" + number + ".xml.rels",
                         [book, i](std::string &out) { ozw_xml_sheet_rels(book, i, out); }});
        parts.push_back({"xl/printerSettings/printerSettings" + number + ".bin",
                         [](std::string &out) { out = ozw_printer_settings(PAPER_A4, ORIENTATION_PORTRAIT); }});
    }
    return parts;
}

int build_parts(const std::vector<PackagePart> &parts, PartFiles &files) {
    for (const PackagePart &part : parts) {
        std::string text;
        part.build(text);
        int rc = files.write(part.name, text);
        if (rc != 0) return rc;
    }
    return 0;
}

// The folder the parts go to when they do not fit into memory: one of its
// own under OBtemp, so that books saved at the same time do not meet.
int disk_folder(std::string &folder) {
    std::string parent;
    if (orb_make_temp_folder(ORB_EXTRACT_FOLDER, parent) != 0) return OXLS_ERR_OPEN;
    return orb_make_own_folder(parent, folder) == 0 ? 0 : OXLS_ERR_OPEN;
}

// Builds every part, falling back to disk once when memory runs short, and
// zips them into the book file.
int create_excel2007(XLS_BOOK *book) {
    int rc = ensure_sheets(book);
    if (rc != 0) return rc;
    std::vector<std::string> package_list;
    std::vector<PackagePart> parts = package_parts(book, timestamp_now());
    for (const PackagePart &part : parts) package_list.push_back(part.name);

    PartFiles files(book->thread_no, &ozw_files(book));
    rc = build_parts(parts, files);
    if (rc == PART_MEMORY_FULL) {
        if (saves_to_memory(book)) return OXLS_ERR_MEMORY;
        std::string folder;
        rc = disk_folder(folder);
        if (rc == 0) rc = files.use_disk(folder);
        if (rc == 0) rc = build_parts(parts, files);
    }
    if (rc != 0) return rc;
    ZipMedium medium = saves_to_memory(book) ? ZipMedium::Memory : ZipMedium::Selected;
    return ozw_zip_package(book->file_name, medium, files, package_list);
}

}  // namespace

int ozw_save_book(XLS_BOOK *book) {
    if (!ozw_book_is_open(book)) return ozw_set_code(book, OXLS_ERR_ARGUMENT);
    book->log.error_info[0] = '\0';
    int rc;
    if (!book->flags[OXLS_FLAG_CREATE]) {
        rc = OXLS_ERR_UNSUPPORTED;
    } else {
        try {
            rc = create_excel2007(book);
        } catch (const std::bad_alloc &) {
            rc = OXLS_ERR_MEMORY;
        }
    }
    if (rc == 0) return 0;
    // A lower layer that explained the failure keeps its text.
    if (book->log.error_info[0]) return ozw_set_code(book, rc == OZW_LIMIT_REACHED ? OXLS_ERR_BUFFER : rc);
    std::string file_name = ozw_caller_to_sjis(book, book->file_name);
    switch (rc) {
    case OXLS_ERR_OPEN:
    case OXLS_ERR_WRITE:
    case OZW_ZIP_INCOMPLETE: return ozw_set_error(book, OXLS_ERR_WRITE, OXLS_03121, file_name.c_str());
    case -4: return ozw_set_error(book, -4, OXLS_03121, file_name.c_str());
    case OZW_LIMIT_REACHED: return ozw_set_error(book, OXLS_ERR_BUFFER, OXLS_03009, 0, "ozw_create_excel2007()");
    case OXLS_ERR_MEMORY: return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    default: return ozw_set_error(book, OXLS_ERR_FAILED, OXLS_03600, "ozw_create_excel2007()");
    }
}
