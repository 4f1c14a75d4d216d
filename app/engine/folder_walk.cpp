#include "engine/folder_walk.h"

#include "engine/app_texts.h"
#include "engine/path_text.h"
#include "platform/platform.h"

namespace zscan {

WalkResult walk_folder(SearchContext &context, FrontEnd &front_end, BookSearch &books) {
    const std::string folder = context.current_folder;
    // An empty folder stands for the root of the file system (of the
    // current drive under Windows).
    const std::string listed = folder.empty() ? std::string(1, zplat::kSeparator) : folder;
    front_end.set_progress_text(folder);

    WalkResult result = WalkResult::Done;
    zplat::list_directory(listed.c_str(), [&](const zplat::DirEntry &entry) {
        if (front_end.cancel_requested()) return false;
        if (entry.is_hidden) return true;
        const std::string path = joined_path(folder, entry.name);
        if (path.size() > kPathMax) return true;

        if (entry.is_directory) {
            // Linked folders are not followed: a link to an enclosing
            // folder would make the walk endless.
            if (entry.is_link) return true;
            context.current_folder = path;
            walk_folder(context, front_end, books);
            if (context.hit_count > kHitLimit) {
                result = WalkResult::HitLimit;
                return false;
            }
            context.current_folder = folder;
            return true;
        }

        const std::string upper_name = upper_ascii(context.charset, entry.name);
        const BookKind kind = book_kind(upper_name);
        if (kind == BookKind::NotABook) return true;
        if (!passes_file_name_keywords(context.charset, upper_name, context.file_name_keywords)) {
            return true;
        }
        context.current_file = path;
        if (kind == BookKind::Excel2003) {
            context.temp_workbook_path =
                joined_path(context.temp_folder, in_charset(context.charset, text::kWorkbookStreamName));
        }
        if (books.search_book(context, kind) == 0 && context.hit_count > kHitLimit) {
            result = WalkResult::HitLimit;
            return false;
        }
        return true;
    });
    return result;
}

}  // namespace zscan
