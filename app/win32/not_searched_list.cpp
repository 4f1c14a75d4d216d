#include "win32/not_searched_list.h"

#include "engine/app_texts.h"
#include "engine/path_text.h"
#include "platform/platform.h"
#include "win32/window_texts.h"

namespace zscan {
namespace {

// The reason in the window's words; the engine's detail (in UTF-8) follows
// where it tells what failed.
std::string reason_text(const NotSearched &item, int charset) {
    std::string reason;
    switch (item.reason) {
    case SkipReason::Encrypted: return window_texts::kEncrypted;
    case SkipReason::NotABook: return window_texts::kNotABook;
    case SkipReason::PermissionDenied: return window_texts::kPermissionDenied;
    case SkipReason::PathTooLong: return window_texts::kPathTooLong;
    case SkipReason::Damaged: reason = window_texts::kDamaged; break;
    case SkipReason::Unreadable: reason = window_texts::kUnreadable; break;
    }
    return item.detail.empty() ? reason : reason + ": " + in_charset(charset, item.detail);
}

}  // namespace

std::string write_not_searched_list(const SearchContext &context) {
    std::string lines;
    for (const NotSearched &item : context.not_searched) {
        lines += item.path + "\t" + reason_text(item, context.charset) + "\r\n";
    }
    const std::string path = joined_path(context.temp_folder, window_texts::kNotSearchedListName);
    zplat::File *file = zplat::file_open(path.c_str(), 2);
    const bool written = file != nullptr && zplat::file_write(file, lines.data(), lines.size()) == lines.size();
    zplat::file_close(file);
    return written ? path : std::string();
}

}  // namespace zscan
