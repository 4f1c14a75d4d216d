// The Excel 2007 package reader: unpacks the package, finds which sheet
// owns each drawing and comments part, parses the parts in byte order of
// their names and leaves the list of parts in the book for the writer.
//
// Worksheets are matched to the sheets the workbook lists by position: the
// n-th worksheet part in name order fills the n-th listed sheet.
#include "read/readers.h"

#include "book_record.h"
#include "mfile.h"
#include "platform/platform.h"
#include "read/xlsx_layout.h"
#include "read/xlsx_parts.h"
#include "zip_extract.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kWorkbook = "xl/workbook.xml";
constexpr std::string_view kSharedStrings = "xl/sharedStrings.xml";
constexpr std::string_view kWorksheet = "xl/worksheets/sheet";
constexpr std::string_view kWorksheetRels = "xl/worksheets/_rels/sheet";
constexpr std::string_view kDrawing = "xl/drawings/drawing";
constexpr std::string_view kComments = "xl/comments";
constexpr std::string_view kStyles = "xl/styles";

// The number written right after `prefix` in `text` ("sheet12.xml" -> 12);
// -1 when no digit follows.
long number_after(std::string_view text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix) return -1;
    size_t i = prefix.size();
    long n = -1;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && n < 100000000) {
        n = (n < 0 ? 0 : n * 10) + (text[i] - '0');
        ++i;
    }
    return n;
}

// The number after the first occurrence of `marker` in `text` that is
// followed by a digit; -1 when there is none.
long number_after_marker(std::string_view text, std::string_view marker) {
    for (size_t at = text.find(marker); at != std::string_view::npos; at = text.find(marker, at + 1)) {
        long n = number_after(text.substr(at), marker);
        if (n >= 0) return n;
    }
    return -1;
}

// The parts of an unpacked package and their texts.
class PackageParts {
public:
    explicit PackageParts(const ExtractedPackage &package) : package_(package) {
        std::vector<std::string_view> names;
        for (size_t i = 0; i < package.parts.size(); ++i) names.push_back(part_name(i));
        usual_ = xlsx_usual_names(names, [&](std::string_view wanted, std::string_view &text) {
            for (size_t i = 0; i < names.size(); ++i)
                if (names[i] == wanted) return read(i, text) == 0;
            return false;
        });
        for (size_t i = 0; i < package.parts.size(); ++i) order_.push_back(i);
        std::sort(order_.begin(), order_.end(),
                  [this](size_t a, size_t b) { return name(a) < name(b); });
    }

    size_t count() const { return order_.size(); }
    // Index (into the package's list) of the part at sorted position `k`.
    size_t sorted(size_t k) const { return order_[k]; }
    // Part name without the thread prefix.
    std::string_view part_name(size_t i) const { return orb_part_name(package_.parts[i].c_str()); }
    // The name the part is read as: its usual name when it stands somewhere
    // else in the package, else its own.
    std::string_view name(size_t i) const { return usual_[i].empty() ? part_name(i) : std::string_view(usual_[i]); }

    // The part's text.  Memory parts are seen in place, in the memory
    // file's own buffer; disk parts are loaded.  0, -2, or -101 when the
    // part cannot be read.
    int read(size_t i, std::string_view &text) {
        const std::string &stored = package_.parts[i];
        if (!package_.on_disk) {
            MFILE *file = mopen(stored.c_str(), "rb");
            if (!file) return -101;
            text = std::string_view(reinterpret_cast<const char *>(file->data), static_cast<size_t>(file->length));
            mclose(file);
            return 0;
        }
        return load(disk_path(stored), text);
    }

    // Gives back the memory a part's text took once it has been parsed.
    void release(size_t i) {
        if (!package_.on_disk) mrelease(package_.parts[i].c_str());
        loaded_.clear();
        loaded_.shrink_to_fit();
    }

    // Where the parts are: the extraction folder, or for memory files the
    // folder a disk extraction would have used.
    std::string folder() const {
        if (package_.on_disk) return package_.folder;
        return zplat::temp_folder() + zplat::kSeparator + ORB_EXTRACT_FOLDER;
    }

private:
    std::string disk_path(const std::string &stored) const {
        return package_.folder + zplat::kSeparator + stored;
    }

    int load(const std::string &path, std::string_view &text) {
        long long size = 0;
        if (zplat::file_size(path.c_str(), &size) != 0) return -101;
        zplat::File *file = zplat::file_open(path.c_str(), 1);
        if (!file) return -101;
        loaded_.resize(static_cast<size_t>(size));
        size_t got = size > 0 ? zplat::file_read(file, loaded_.data(), loaded_.size()) : 0;
        zplat::file_close(file);
        if (got != loaded_.size()) return -101;
        text = loaded_;
        return 0;
    }

    const ExtractedPackage &package_;
    std::vector<std::string> usual_;
    std::vector<size_t> order_;
    std::string loaded_;
};

// Owners of drawing and comments parts, from the worksheets' relationship
// parts: drawing n and comments n belong to the sheet at the position of
// the worksheet part whose relationships name them.
struct NoteOwners {
    std::vector<int> drawing, comments;   // -1 unknown
};

int find_owners(PackageParts &parts, NoteOwners &owners) {
    owners.drawing.assign(parts.count(), -1);
    owners.comments.assign(parts.count(), -1);
    std::map<long, int> position_of_sheet;   // worksheet number -> sheet position
    int position = 0;
    for (size_t k = 0; k < parts.count(); ++k) {
        std::string_view name = parts.name(parts.sorted(k));
        if (name.substr(0, kWorksheet.size()) != kWorksheet) continue;
        long n = number_after(name, kWorksheet);
        if (n >= 0) position_of_sheet.emplace(n, position);
        ++position;
    }
    for (size_t k = 0; k < parts.count(); ++k) {
        size_t i = parts.sorted(k);
        long sheet = number_after(parts.name(i), kWorksheetRels);
        if (sheet < 0) continue;
        auto owner = position_of_sheet.find(sheet);
        if (owner == position_of_sheet.end()) continue;
        std::string_view text;
        if (int rc = parts.read(i, text)) return rc;
        long drawing = number_after_marker(text, "drawings/drawing");
        long comments = number_after_marker(text, "/comments");
        if (drawing >= 0 && static_cast<size_t>(drawing) < owners.drawing.size())
            owners.drawing[static_cast<size_t>(drawing)] = owner->second;
        if (comments >= 0 && static_cast<size_t>(comments) < owners.comments.size())
            owners.comments[static_cast<size_t>(comments)] = owner->second;
    }
    return 0;
}

int owner_of(const std::vector<int> &owners, long number) {
    if (number < 0 || static_cast<size_t>(number) >= owners.size() || owners[static_cast<size_t>(number)] < 0) return 0;
    return owners[static_cast<size_t>(number)];
}

// Makes the sheet record the next worksheet part fills: the next listed
// sheet, or a new one named "Sheet<n>" when the workbook listed fewer.
int next_sheet(XLS_BOOK *book, int listed) {
    if (book->sheet_count < listed) return book->sheet_count++;
    std::string name = "Sheet" + std::to_string(book->sheet_count + 1);
    return ozw_add_sheet(book, name.c_str());
}

class PackageReader {
public:
    PackageReader(XLS_BOOK *book, PackageParts &parts) : parts_(parts) { state_.book = book; }

    int run() {
        NoteOwners owners;
        if (int rc = find_owners(parts_, owners)) return rc;
        XLS_BOOK *book = state_.book;
        int listed = 0;
        for (size_t k = 0; k < parts_.count(); ++k) {
            size_t i = parts_.sorted(k);
            std::string_view name = parts_.name(i);
            int rc = 0;
            if (name.substr(0, kWorkbook.size()) == kWorkbook) {
                book->sheet_count = 0;
                rc = parse(i, [&](std::string_view text) { return xlsx_parse_workbook(state_, text); });
                listed = book->sheet_count;
                book->sheet_count = 0;
            } else if (name.substr(0, kSharedStrings.size()) == kSharedStrings) {
                rc = parse(i, [&](std::string_view text) { return xlsx_parse_shared_strings(state_, text); });
                parts_.release(i);
            } else if (name.substr(0, kWorksheet.size()) == kWorksheet) {
                int sheet = next_sheet(book, listed);
                if (sheet < 0) return -2;
                rc = parse(i, [&](std::string_view text) { return xlsx_parse_worksheet(state_, sheet, text); });
                parts_.release(i);
            } else if (name.substr(0, kDrawing.size()) == kDrawing) {
                int owner = owner_of(owners.drawing, number_after(name, kDrawing));
                rc = parse(i, [&](std::string_view text) { return xlsx_parse_notes(state_, PART_DRAWING, owner, text); });
            } else if (name.substr(0, kComments.size()) == kComments) {
                int owner = owner_of(owners.comments, number_after(name, kComments));
                rc = parse(i, [&](std::string_view text) { return xlsx_parse_notes(state_, PART_COMMENTS, owner, text); });
            } else if (name.substr(0, kStyles.size()) == kStyles) {
                rc = parse(i, [&](std::string_view text) { return xlsx_parse_styles(state_, text); });
            }
            if (rc) return rc;
        }
        return attach_notes();
    }

private:
    template <typename Parser>
    int parse(size_t i, Parser parser) {
        std::string_view text;
        if (int rc = parts_.read(i, text)) return rc;
        return parser(text);
    }

    int attach_notes() {
        XLS_BOOK *book = state_.book;
        for (size_t s = 0; s < state_.pending_notes.size() && s < static_cast<size_t>(book->sheet_count); ++s) {
            if (state_.pending_notes[s].empty()) continue;
            SheetExtras *extras = ozw_sheet_extras(&book->sheets[s]);
            if (!extras) return -2;
            extras->notes = std::move(state_.pending_notes[s]);
        }
        return 0;
    }

    XlsxReadState state_;
    PackageParts &parts_;
};

// The book's list of parts: "<folder><separator><part>" for each part, then
// the folder itself.
int keep_part_list(XLS_BOOK *book, const PackageParts &parts) {
    std::string folder = parts.folder();
    size_t count = parts.count() + 1;
    char **list = static_cast<char **>(std::calloc(count, sizeof(char *)));
    if (!list) return -2;
    book->extract_list = list;
    for (size_t i = 0; i < count; ++i) {
        std::string entry = folder;
        if (i + 1 < count) (entry += zplat::kSeparator) += parts.part_name(i);
        list[i] = static_cast<char *>(std::malloc(entry.size() + 1));
        if (!list[i]) return -2;
        std::memcpy(list[i], entry.c_str(), entry.size() + 1);
        book->extract_count = static_cast<int>(i + 1);
    }
    return 0;
}

// Frees an earlier part list of the book, if any.
void drop_part_list(XLS_BOOK *book) {
    for (int i = 0; i < book->extract_count; ++i) std::free(book->extract_list[i]);
    std::free(book->extract_list);
    book->extract_list = nullptr;
    book->extract_count = 0;
}

int extract(XLS_BOOK *book, const char *path, ExtractedPackage &package) {
    int rc = orb_extract_package(book->thread_no, path, package);
    if (rc == ORB_ZIP_REFUSED) return -4;
    return rc;
}

}  // namespace

int ozw_read_excel2007(XLS_BOOK *book, const char *path) {
    try {
        StyleTables *styles = ozw_styles(book);
        if (!styles) return -2;
        if (!book->flags[OXLS_FLAG_KEEP_STYLES]) {
            styles->number_formats.clear();
            styles->fonts.clear();
        }
        // Cell styles refer to the book's own format table only; a book
        // without a styles part has none, and its numbers are general.
        styles->xfs.clear();
        ExtractedPackage package;
        if (int rc = extract(book, path, package)) return rc;
        PackageParts parts(package);
        PackageReader reader(book, parts);
        if (int rc = reader.run()) return rc;
        drop_part_list(book);
        return keep_part_list(book, parts);
    } catch (const std::bad_alloc &) {
        return -2;
    }
}

int ozw_list_excel2007(XLS_BOOK *book, const char *path) {
    try {
        ExtractedPackage package;
        if (int rc = extract(book, path, package)) return rc;
        PackageParts parts(package);
        for (size_t i = 0; i < parts.count(); ++i) {
            if (parts.name(i) != kWorkbook) continue;
            std::string_view text;
            if (int rc = parts.read(i, text)) return rc;
            XlsxReadState state;
            state.book = book;
            book->sheet_count = 0;
            return xlsx_parse_workbook(state, text);
        }
        return 0;
    } catch (const std::bad_alloc &) {
        return -2;
    }
}
