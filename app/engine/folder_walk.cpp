#include "engine/folder_walk.h"

#include "engine/app_texts.h"
#include "engine/path_text.h"
#include "platform/platform.h"

#include <algorithm>
#include <set>
#include <vector>

namespace zscan {
namespace {

// One walk over a tree.  It remembers every real folder it has entered, so
// that links to folders are followed as the system's own listing shows
// them, yet a link loop ends at once and no book is searched twice through
// two links to the same folder.
class FolderWalk {
public:
    FolderWalk(SearchContext &context, FrontEnd &front_end, BookSearch &books)
        : context_(context), front_end_(front_end), books_(books) {}

    WalkResult walk() {
        const std::string folder = context_.current_folder;
        // An empty folder stands for the root of the file system (of the
        // current drive under Windows).
        const std::string listed = folder.empty() ? std::string(1, zplat::kSeparator) : folder;
        zplat::FolderId id;
        if (!zplat::folder_id(listed.c_str(), id) || !visited_.insert(id).second) return WalkResult::Done;
        front_end_.set_progress_text(folder);

        // Entries come in name order, so that the same tree gives the same
        // hits in the same order on every machine and file system.
        std::vector<zplat::DirEntry> entries;
        zplat::list_directory(listed.c_str(), [&](const zplat::DirEntry &entry) {
            entries.push_back(entry);
            return true;
        });
        std::sort(entries.begin(), entries.end(), [](const zplat::DirEntry &a, const zplat::DirEntry &b) {
            return zplat::name_before(a.name, b.name);
        });

        for (const zplat::DirEntry &entry : entries) {
            if (front_end_.cancel_requested()) break;
            if (visit(folder, entry) == WalkResult::HitLimit) return WalkResult::HitLimit;
        }
        return WalkResult::Done;
    }

private:
    WalkResult visit(const std::string &folder, const zplat::DirEntry &entry) {
        if (entry.is_hidden) return WalkResult::Done;
        const std::string path = joined_path(folder, entry.name);
        if (path.size() > kPathMax) return WalkResult::Done;

        if (entry.is_directory) {
            context_.current_folder = path;
            walk();
            context_.current_folder = folder;
            return context_.hit_count > kHitLimit ? WalkResult::HitLimit : WalkResult::Done;
        }
        // Only plain files are books: a pipe, socket or device is never
        // opened, since reading one may wait for ever.
        if (!entry.is_regular) return WalkResult::Done;

        const std::string upper_name = upper_ascii(context_.charset, entry.name);
        const BookKind kind = book_kind(upper_name);
        if (kind == BookKind::NotABook) return WalkResult::Done;
        if (!passes_file_name_keywords(context_.charset, upper_name, context_.file_name_keywords)) {
            return WalkResult::Done;
        }
        context_.current_file = path;
        if (books_.search_book(context_, kind) == 0 && context_.hit_count > kHitLimit) {
            return WalkResult::HitLimit;
        }
        return WalkResult::Done;
    }

    SearchContext &context_;
    FrontEnd &front_end_;
    BookSearch &books_;
    std::set<zplat::FolderId> visited_;
};

}  // namespace

WalkResult walk_folder(SearchContext &context, FrontEnd &front_end, BookSearch &books) {
    return FolderWalk(context, front_end, books).walk();
}

}  // namespace zscan
