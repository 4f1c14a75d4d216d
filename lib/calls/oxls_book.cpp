// Opening, closing and freeing a book: OXLS_open_book with its modes and
// the routing of a book to its reader, OXLS_close_book, OXLS_free_book.
#include "arg_items.h"
#include "book_file_name.h"
#include "book_record.h"
#include "charset.h"
#include "file_type.h"
#include "messages.h"
#include "mfile.h"
#include "open_book_args.h"
#include "oxls.h"
#include "readers.h"
#include "result_codes.h"
#include "work_area.h"
#include "book_writer.h"
#include "encrypted/encrypted_package.h"
#include "xls/biff_direct_scan.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr unsigned char FLAG_OFF = 0;

// Result of the Excel 97-2003 reader when an encryption record is met after
// the first workbook record.
constexpr int XLS_ENCRYPTED_LATER = 1002;

// A path as it appears inside a message text (Shift-JIS).
std::string path_for_message(const std::string &path) {
    return orb_convert(ozw_path_charset(), CS_SJIS, path);
}

// Releases everything the book holds without saving: the work area with the
// book's own memory files, the record's tables, and every memory file the
// caller made.  The error state stays for the caller to fetch.
void release_everything(XLS_BOOK *book) {
    ozw_free_work(book);
    ozw_release_book(book);
    mfree_all();
}

int fail_and_release(XLS_BOOK *book, int code, OxlsMessage message, const std::string &path) {
    release_everything(book);
    return ozw_set_error(book, code, message, path_for_message(path).c_str());
}

int internal_error(XLS_BOOK *book, const char *reader, int rc) {
    release_everything(book);
    char detail[80];
    std::snprintf(detail, sizeof detail, "%s() rc=%d", reader, rc);
    return ozw_set_error(book, OXLS_ERR_FAILED, OXLS_03600, detail);
}

void store_file_name(XLS_BOOK *book, const std::string &path) {
    std::snprintf(book->file_name, sizeof book->file_name, "%s", path.c_str());
}

// LOAD keeps no styles; UNLOAD also hands back formatted texts; UNLOAD_NAME
// also reads the book's names.
void apply_mode_flags(XLS_BOOK *book, int mode) {
    if (mode == MODE_LOAD || mode == MODE_UNLOAD || mode == MODE_UNLOAD_NAME) book->flags[OXLS_FLAG_KEEP_STYLES] = FLAG_OFF;
    if (mode == MODE_UNLOAD || mode == MODE_UNLOAD_NAME) book->flags[OXLS_FLAG_FORMATTED_TEXT] = FLAG_OFF;
    if (mode == MODE_UNLOAD_NAME) book->flags[OXLS_FLAG_KEEP_NAMES] = FLAG_OFF;
}

// Reads the package at `source` (`path`, or a memory file holding its
// deciphered bytes) as the book at `path`.
int read_excel2007(XLS_BOOK *book, const OpenRequest &request, const std::string &path, bool macro_book,
                   const std::string &source) {
    book->flags[OXLS_FLAG_CREATE] = FLAG_OFF;
    apply_mode_flags(book, request.mode);
    store_file_name(book, path);
    size_t length = std::strlen(book->file_name);
    if (macro_book && length >= 5 && std::strcmp(book->file_name + length - 5, ".xlsm") != 0)
        std::memcpy(book->file_name + length - 5, ".xlsm", 5);

    int rc = ozw_read_excel2007(book, source.c_str());
    switch (rc) {
        case 0:
            // The source memory file has served its purpose.
            if (request.read_memory || source != path) ozw_files(book).remove_everywhere(source.c_str());
            return ozw_set_code(book, OXLS_OK);
        case OXLS_ERR_OPEN:
        case OXLS_ERR_PROBE: return fail_and_release(book, OXLS_ERR_OPEN, OXLS_03101, path);
        case OXLS_ERR_UNSUPPORTED:
        case OZW_NOT_A_BOOK: return fail_and_release(book, OXLS_ERR_UNSUPPORTED, OXLS_00900, path);
        case OXLS_ERR_MEMORY:
            release_everything(book);
            return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
        default: return internal_error(book, "ozw_read_excel2007", rc);
    }
}

int read_excel2003(XLS_BOOK *book, const OpenRequest &request, const std::string &path) {
    ozw_release_book(book);
    if (ozw_init_book(book, BOOK_KIND_XLS) != 0) {
        release_everything(book);
        return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    }
    std::snprintf(book->temp_workbook_path, sizeof book->temp_workbook_path, "%s",
                  request.temp_workbook_path.c_str());
    book->thread_no = request.thread_no;
    apply_mode_flags(book, request.mode);

    int rc = ozw_read_excel2003(book, path.c_str());
    if (rc == 0) {
        book->flags[OXLS_FLAG_CREATE] = FLAG_OFF;
        store_file_name(book, path);
        return ozw_set_code(book, OXLS_OK);
    }
    release_everything(book);
    switch (rc) {
        case OXLS_ERR_MEMORY: return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
        // The reader has put its own text.
        case OZW_LIMIT_REACHED: return ozw_set_code(book, OXLS_ERR_FAILED);
        // Password-protected or not a valid compound file: the cause is on
        // the message list, and the error code stays 0.
        case OXLS_ERR_UNSUPPORTED:
        case XLS_ENCRYPTED_LATER: return OXLS_ERR_XLS_UNREADABLE;
        case OZW_NOT_A_BOOK: return ozw_set_error(book, OXLS_ERR_UNSUPPORTED, OXLS_00900, path_for_message(path).c_str());
        default: return ozw_set_error(book, OXLS_ERR_FAILED, OXLS_03110);
    }
}

// An Excel 2007 package kept encrypted in a compound file: deciphered into
// a memory file of the book's own and read from there.  A package no
// password opens is refused as an encrypted Excel 97-2003 book is.
int read_encrypted_package(XLS_BOOK *book, const OpenRequest &request, const std::string &path) {
    constexpr const char *kDeciphered = "[deciphered package]";
    OzwWork *work = ozw_work(book);
    std::string package;
    int rc;
    try {
        ByteSource file(path.c_str());
        rc = ozw_read_encrypted_package(file, work->passwords, package);
    } catch (const std::bad_alloc &) {
        rc = OXLS_ERR_MEMORY;
    }
    if (rc == OXLS_ERR_XLS_UNREADABLE) {
        biff_push_message(book, 901, "");
        release_everything(book);
        return OXLS_ERR_XLS_UNREADABLE;
    }
    if (rc == OXLS_ERR_UNSUPPORTED) return fail_and_release(book, OXLS_ERR_UNSUPPORTED, OXLS_00900, path);
    MFILE *file = rc == 0 ? ozw_files(book).open(kDeciphered, "wb") : nullptr;
    const bool written = file && mwrite(package.data(), 1, package.size(), file) == package.size();
    if (file) mclose(file);
    if (!written) {
        release_everything(book);
        return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    }
    package = std::string();
    const bool package_in_memory = work->package_in_memory;
    work->package_in_memory = true;
    rc = read_excel2007(book, request, path, false, kDeciphered);
    if (OzwWork *kept = ozw_work(book)) kept->package_in_memory = package_in_memory;
    return rc;
}

int read_book(XLS_BOOK *book, const OpenRequest &request, const std::string &path) {
    int type = FILE_TYPE_UNKNOWN;
    int rc = orb_file_type(request.read_memory ? FILE_SOURCE_MEMORY : FILE_SOURCE_DISK, path.c_str(), &type);
    if (rc == OXLS_ERR_OPEN || rc == OXLS_ERR_PROBE) return fail_and_release(book, rc, OXLS_03101, path);
    if (rc != 0) return fail_and_release(book, OXLS_ERR_OPEN, OXLS_03101, path);
    switch (type) {
        case FILE_TYPE_XLS:
            if (!request.read_memory && orb_find_cfb_entry(FILE_SOURCE_DISK, path.c_str(), CFB_ENCRYPTED_PACKAGE, nullptr) == 1)
                return read_encrypted_package(book, request, path);
            return read_excel2003(book, request, path);
        case FILE_TYPE_XLSX_LOCKED:
            if (request.read_memory) return fail_and_release(book, OXLS_ERR_UNSUPPORTED, OXLS_00900, path);
            return read_encrypted_package(book, request, path);
        case FILE_TYPE_XLSX: return read_excel2007(book, request, path, false, path);
        case FILE_TYPE_XLSM:
            book->flags[OXLS_FLAG_MACRO_BOOK] = FLAG_OFF;
            return read_excel2007(book, request, path, true, path);
        default: return fail_and_release(book, OXLS_ERR_UNSUPPORTED, OXLS_00900, path);
    }
}

int list_sheets(XLS_BOOK *book, const std::string &path) {
    store_file_name(book, path);
    int rc = ozw_list_excel2007(book, path.c_str());
    if (rc == 0) return ozw_set_code(book, OXLS_OK);
    if (rc == OXLS_ERR_MEMORY) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    if (rc == OXLS_ERR_UNSUPPORTED || rc == OZW_NOT_A_BOOK)
        return fail_and_release(book, OXLS_ERR_UNSUPPORTED, OXLS_00900, path);
    return internal_error(book, "ozw_list_excel2007", rc);
}

enum CloseWord { CLOSE_SAVE, CLOSE_DESTROY };
constexpr ArgKeyword CLOSE_WORDS[] = {{"SAVE", CLOSE_SAVE}, {"保存", CLOSE_SAVE}, {"DESTROY", CLOSE_DESTROY}, {"破棄", CLOSE_DESTROY}};

}  // namespace

extern "C" int OXLS_open_book(XLS_BOOK *book, const char *args) {
    if (!book) return OXLS_ERR_ARGUMENT;
    // The record's previous contents are not looked at.
    std::memset(book, 0, sizeof *book);
    book->thread_no = -1;
    OzwWork *work = ozw_new_work(book);
    if (!work) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);

    OpenRequest request;
    if (int rc = ozw_parse_open_args(book, args, request)) return rc;
    std::string name, path;
    if (ozw_book_file_name(request.book_name, name) != 0) return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_00005);
    // A book read from memory is named by its memory file.
    if (request.read_memory)
        path = name;
    else if (ozw_full_book_path(name, path) != 0)
        return ozw_set_error(book, OXLS_ERR_ARGUMENT, OXLS_00005);
    work->mode = request.mode;

    if (ozw_init_book(book, BOOK_KIND_XLSX) != 0) return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);
    book->thread_no = request.thread_no;
    // The memory flags are cleared (0) to say "in a memory file".
    if (request.read_memory) book->flags[OXLS_FLAG_READ_MEMORY] = FLAG_OFF;
    if (request.write_memory) book->flags[OXLS_FLAG_WRITE_MEMORY] = FLAG_OFF;
    if (request.mode == MODE_UNLOAD_NAME && ozw_create_name_list(book, request.list_path.c_str()) != 0)
        return ozw_set_error(book, OXLS_ERR_MEMORY, OXLS_00002);

    switch (request.mode) {
        case MODE_CREATE:
            store_file_name(book, path);
            return OXLS_OK;
        case MODE_LIST: return list_sheets(book, path);
        default: {
            work->passwords = request.passwords;
            const int rc = read_book(book, request, path);
            if (OzwWork *kept = ozw_work(book)) kept->passwords.clear();
            return rc;
        }
    }
}

extern "C" int OXLS_close_book(XLS_BOOK *book, const char *args) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, OXLS_OK);
    bool save = false;
    if (args) {
        ArgItems items(book, args);
        for (std::string word; items.next_word(word);) {
            int id = ozw_match_caller_keyword(book, word, CLOSE_WORDS);
            if (id >= 0) save = id == CLOSE_SAVE;
        }
    }
    if (save) {
        // A failed save leaves the book open for another try.
        if (int rc = ozw_save_book(book)) return ozw_set_code(book, rc);
    }
    release_everything(book);
    return OXLS_OK;
}

extern "C" int OXLS_free_book(XLS_BOOK *book) {
    if (!book) return OXLS_ERR_ARGUMENT;
    ozw_set_code(book, OXLS_OK);
    ozw_free_work(book);
    ozw_release_book(book);
    return OXLS_OK;
}
