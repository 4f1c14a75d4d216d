#include "engine/folder_walk.h"

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
    FolderWalk(SearchContext &context, FrontEnd &front_end, BookSearch &books, HitRecorder &recorder)
        : context_(context), front_end_(front_end), books_(books), recorder_(recorder) {}

    void walk() {
        const std::string folder = context_.current_folder;
        // An empty folder stands for the root of the file system (of the
        // current drive under Windows).
        const std::string listed = folder.empty() ? std::string(1, zplat::kSeparator) : folder;
        zplat::FolderId id;
        if (!zplat::folder_id(listed.c_str(), id)) {
            report_folder(listed);
            return;
        }
        if (!visited_.insert(id).second) return;
        front_end_.set_progress_text(folder);

        // Entries come in name order, so that the same tree gives the same
        // hits in the same order on every machine and file system.
        std::vector<zplat::DirEntry> entries;
        if (zplat::list_directory(listed.c_str(), [&](const zplat::DirEntry &entry) {
                entries.push_back(entry);
                return true;
            }) != 0) {
            report_folder(listed);
            return;
        }
        std::sort(entries.begin(), entries.end(), [](const zplat::DirEntry &a, const zplat::DirEntry &b) {
            return zplat::name_before(a.name, b.name);
        });

        for (const zplat::DirEntry &entry : entries) {
            if (front_end_.cancel_requested() || recorder_.search_over()) return;
            visit(folder, entry);
        }
    }

private:
    void visit(const std::string &folder, const zplat::DirEntry &entry) {
        if (entry.is_hidden) return;
        const std::string path = joined_path(folder, entry.name);
        if (entry.is_directory) {
            context_.current_folder = path;
            walk();
            context_.current_folder = folder;
            return;
        }
        // Only plain files are books: a pipe, socket or device is never
        // opened, since reading one may wait for ever.
        if (!entry.is_regular) return;

        const std::string upper_name = upper_ascii(context_.charset, entry.name);
        const BookKind kind = book_kind(upper_name);
        if (kind == BookKind::NotABook) return;
        if (!passes_file_name_keywords(context_.charset, upper_name, context_.file_name_keywords)) return;
        ++context_.books_found;
        books_.search_book(BookJob{path, kind});
    }

    // Tells why the folder could not be listed, right after the call that
    // failed.
    void report_folder(const std::string &path) {
        const zplat::Failure failure = zplat::last_failure();
        NotSearched item{path, true, SkipReason::Unreadable, failure.text};
        if (failure.kind == zplat::FailureKind::PermissionDenied) item.reason = SkipReason::PermissionDenied;
        if (failure.kind == zplat::FailureKind::NameTooLong) item.reason = SkipReason::PathTooLong;
        recorder_.not_searched(std::move(item));
    }

    SearchContext &context_;
    FrontEnd &front_end_;
    BookSearch &books_;
    HitRecorder &recorder_;
    std::set<zplat::FolderId> visited_;
};

}  // namespace

void walk_folder(SearchContext &context, FrontEnd &front_end, BookSearch &books, HitRecorder &recorder) {
    FolderWalk(context, front_end, books, recorder).walk();
}

}  // namespace zscan
