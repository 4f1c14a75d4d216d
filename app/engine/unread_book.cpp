#include "engine/unread_book.h"

#include "file_type.h"
#include "oxls.h"
#include "platform/platform.h"
#include "result_codes.h"

namespace zscan {
namespace {

NotSearched system_refusal(const std::string &path) {
    const zplat::Failure failure = zplat::last_failure();
    NotSearched item{path, false, SkipReason::Unreadable, failure.text};
    if (failure.kind == zplat::FailureKind::PermissionDenied) item.reason = SkipReason::PermissionDenied;
    if (failure.kind == zplat::FailureKind::NameTooLong) item.reason = SkipReason::PathTooLong;
    return item;
}

// The kind the file's first bytes tell, as the reader tells it.
int leading_type(zplat::File *file) {
    char header[FILE_HEADER_LEN] = {};
    int type = FILE_TYPE_UNKNOWN;
    if (zplat::file_read(file, header, sizeof header) == sizeof header) orb_file_type(FILE_SOURCE_HEADER, header, &type);
    return type;
}

}  // namespace

NotSearched unread_book(const std::string &path, int code) {
    zplat::File *file = zplat::file_open(path.c_str(), 1);
    if (file == nullptr) return system_refusal(path);
    const int type = leading_type(file);
    zplat::file_close(file);

    long long size = 0;
    if (zplat::file_size(path.c_str(), &size) != 0) return system_refusal(path);
    if (size == 0) return {path, false, SkipReason::NotABook, "the file is empty"};
    if (code == OXLS_ERR_MEMORY) return {path, false, SkipReason::Damaged, "it needs more memory than there is"};
    if (code == OZW_NOT_A_BOOK && type == FILE_TYPE_XLS) return {path, false, SkipReason::NotABook, "an Excel 4.0 workbook"};
    if (type == FILE_TYPE_XLS) {
        // A compound file: an encrypted package (whose encryption streams
        // may be damaged), an Excel 97-2003 book whose stream begins with
        // its encryption record, or neither.
        if (orb_find_cfb_entry(FILE_SOURCE_DISK, path.c_str(), CFB_ENCRYPTED_PACKAGE, nullptr) == 1) {
            if (code == OXLS_ERR_UNSUPPORTED)
                return {path, false, SkipReason::Damaged, "its encryption information is damaged"};
            return {path, false, SkipReason::Encrypted, {}};
        }
        if (code == OXLS_ERR_UNSUPPORTED) return {path, false, SkipReason::Encrypted, {}};
        if (orb_find_cfb_entry(FILE_SOURCE_DISK, path.c_str(), CFB_WORKBOOK, nullptr) != 1 &&
            orb_find_cfb_entry(FILE_SOURCE_DISK, path.c_str(), "Book", nullptr) != 1)
            return {path, false, SkipReason::NotABook, "a compound file without a workbook stream"};
        return {path, false, SkipReason::Damaged, "its workbook stream cannot be read"};
    }
    if (type == FILE_TYPE_ZIP) {
        if (code == OZW_NOT_A_BOOK)
            return {path, false, SkipReason::NotABook, "a zip without a workbook, or with parts in an encoding it does not read"};
        if (code == OXLS_ERR_UNSUPPORTED) return {path, false, SkipReason::Damaged, "a part passes the reader's size bounds"};
        return {path, false, SkipReason::Damaged, "the zip package is cut short or broken"};
    }
    return {path, false, SkipReason::NotABook, {}};
}

}  // namespace zscan
