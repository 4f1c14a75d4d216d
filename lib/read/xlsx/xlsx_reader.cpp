// The Excel 2007 package reader: parses the workbook, finds which part
// fills each listed sheet, parses the shared strings and styles in byte
// order of their names, then, when the sink wants notes, the comments and
// drawings each sheet's relationships name, then the worksheets in sheet
// order.  OXLS_open_book unpacks
// the package, reads it into the book record and leaves the list of parts
// in the book for the writer; the search reads the parts one at a time
// from their zip entries.
//
// Each sheet the workbook lists gets its cells from the part its
// relationship (r:id) names; a chart or dialog sheet keeps its name and has
// no cells, and a worksheet part that no listed sheet names is not read.
// Only a workbook without a relationships part (a hand-made package) falls
// back to position: the n-th worksheet part in name order fills the n-th
// listed sheet.
#include "readers.h"

#include "book_record.h"
#include "book_table_sink.h"
#include "mfile.h"
#include "platform/platform.h"
#include "result_codes.h"
#include "xlsx/xlsx_layout.h"
#include "xlsx/xlsx_part_encoding.h"
#include "xlsx/xlsx_parts.h"
#include "work_area.h"
#include "zip_extract.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr std::string_view kWorkbook = "xl/workbook.xml";
constexpr std::string_view kSharedStrings = "xl/sharedStrings.xml";
constexpr std::string_view kWorksheet = "xl/worksheets/sheet";
constexpr std::string_view kStyles = "xl/styles";

// Where a package's parts come from: unpacked into memory files or a
// folder (the book record is built, and the part list kept for saving), or
// read one at a time from the zip entries (cells go to a sink).
class PartSource {
public:
    virtual ~PartSource() = default;
    virtual size_t count() const = 0;
    // Part name without the thread prefix.
    virtual std::string_view part_name(size_t i) const = 0;
    // The part's text, valid until the next read or release.  0, -2, or
    // -101 when the part cannot be read.
    virtual int read(size_t i, std::string_view &text) = 0;
    // Gives back the memory a part's text took once it has been parsed.
    virtual void release(size_t i) = 0;
};

// The parts of an unpacked package.  Memory parts are seen in place, in
// the memory file's own buffer; disk parts are loaded.
class ExtractedParts : public PartSource {
public:
    explicit ExtractedParts(const ExtractedPackage &package) : package_(package) {}

    size_t count() const override { return package_.parts.size(); }
    std::string_view part_name(size_t i) const override { return orb_part_name(package_.parts[i].c_str()); }

    int read(size_t i, std::string_view &text) override {
        const std::string &stored = package_.parts[i];
        if (!package_.on_disk) {
            MFILE *file = package_.files->open(stored.c_str(), "rb");
            if (!file) return OXLS_ERR_OPEN;
            text = std::string_view(reinterpret_cast<const char *>(file->data), static_cast<size_t>(file->length));
            mclose(file);
            return 0;
        }
        return load(package_.folder + zplat::kSeparator + stored, text);
    }

    void release(size_t i) override {
        if (!package_.on_disk) package_.files->release(package_.parts[i].c_str());
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
    int load(const std::string &path, std::string_view &text) {
        long long size = 0;
        if (zplat::file_size(path.c_str(), &size) != 0) return OXLS_ERR_OPEN;
        zplat::File *file = zplat::file_open(path.c_str(), zplat::FILE_READ);
        if (!file) return OXLS_ERR_OPEN;
        loaded_.resize(static_cast<size_t>(size));
        size_t got = size > 0 ? zplat::file_read(file, loaded_.data(), loaded_.size()) : 0;
        zplat::file_close(file);
        if (got != loaded_.size()) return OXLS_ERR_OPEN;
        text = loaded_;
        return 0;
    }

    const ExtractedPackage &package_;
    std::string loaded_;
};

// The parts of a package read from their zip entries into one buffer that
// every part reuses, so that at most one part is held at a time.
class EntryParts : public PartSource {
public:
    EntryParts(PackageEntries &entries, GrowBuffer &buffer) : entries_(entries), buffer_(buffer) {}

    size_t count() const override { return entries_.names().size(); }
    std::string_view part_name(size_t i) const override { return entries_.names()[i]; }
    int read(size_t i, std::string_view &text) override {
        return entries_.read(i, buffer_, text);
    }
    void release(size_t) override {}

private:
    PackageEntries &entries_;
    GrowBuffer &buffer_;
};

// The parts of a package by name, and their texts.
class PackageParts {
public:
    explicit PackageParts(PartSource &source) : source_(source) {
        std::vector<std::string_view> names;
        for (size_t i = 0; i < source.count(); ++i) {
            names.push_back(part_name(i));
            index_.emplace(names.back(), i);   // the first of equal names
        }
        usual_ = xlsx_usual_names(names, reader());
        for (size_t i = 0; i < source.count(); ++i) order_.push_back(i);
        std::sort(order_.begin(), order_.end(),
                  [this](size_t a, size_t b) { return name(a) < name(b); });
    }

    size_t count() const { return order_.size(); }
    static constexpr size_t npos = static_cast<size_t>(-1);
    // Index of the part with this name (its own name), or npos.
    size_t find(std::string_view wanted) const {
        auto found = index_.find(wanted);
        return found == index_.end() ? npos : found->second;
    }
    // Reads parts by their own names, as relationships name them.
    PartTextReader reader() {
        return [this](std::string_view wanted, std::string_view &text) {
            size_t i = find(wanted);
            return i != npos && read(i, text) == 0;
        };
    }
    // Index (into the package's list) of the part at sorted position `k`.
    size_t sorted(size_t k) const { return order_[k]; }
    std::string_view part_name(size_t i) const { return source_.part_name(i); }
    // The name the part is read as: its usual name when it stands somewhere
    // else in the package, else its own.
    std::string_view name(size_t i) const { return usual_[i].empty() ? part_name(i) : std::string_view(usual_[i]); }
    // The part's text in UTF-8, whatever encoding it is written in; a part
    // in UTF-16 is decoded into a buffer that every such part reuses.
    int read(size_t i, std::string_view &text) {
        std::string_view raw;
        if (int rc = source_.read(i, raw)) return rc;
        return xlsx_part_utf8(raw, decoded_, text);
    }
    void release(size_t i) { source_.release(i); }

private:
    PartSource &source_;
    std::string decoded_;
    std::vector<std::string> usual_;
    std::vector<size_t> order_;
    std::unordered_map<std::string_view, size_t> index_;   // own name -> part
};

// Reads the parts of a package into the read context and the sink: the
// workbook, shared strings, styles and worksheets, and the notes of
// drawings and comments when the sink wants them.
class PackageReader {
public:
    PackageReader(PackageParts &parts, ReadContext &context, BookSink &sink, XLS_BOOK *report)
        : state_{context, sink, report, {}}, parts_(parts) {}

    int run() {
        const size_t workbook = workbook_part();
        // A zip without a workbook part (an empty package some exporters
        // leave) is no book, not a book without sheets.
        if (workbook == PackageParts::npos) return OZW_NOT_A_BOOK;
        if (int rc = parse(workbook, [&](std::string_view text) { return xlsx_parse_workbook(state_, text); }))
            return rc;
        if (int rc = match_sheets(workbook)) return rc;
        for (size_t k = 0; k < parts_.count(); ++k) {
            size_t i = parts_.sorted(k);
            std::string_view name = parts_.name(i);
            int rc = 0;
            if (name.substr(0, kSharedStrings.size()) == kSharedStrings) {
                rc = parse(i, [&](std::string_view text) { return xlsx_parse_shared_strings(state_, text); });
                parts_.release(i);
            } else if (name.substr(0, kStyles.size()) == kStyles) {
                rc = parse(i, [&](std::string_view text) { return xlsx_parse_styles(state_, text); });
            }
            if (rc) return rc;
        }
        if (state_.sink.wants_notes()) {
            if (int rc = read_notes()) return rc;
        }
        for (size_t sheet = 0; sheet < state_.context.sheet_names.size(); ++sheet) {
            const size_t i = worksheet_[sheet];
            if (i == PackageParts::npos || !state_.sink.wants_sheet(state_.context, static_cast<int>(sheet))) continue;
            int rc = parse(i, [&](std::string_view text) {
                return xlsx_parse_worksheet(state_, static_cast<int>(sheet), text);
            });
            parts_.release(i);
            if (rc) return rc;
        }
        return state_.sink.finish(state_.context);
    }

    // The sheet names alone, for the record of a book opened to list them.
    int list_sheets() {
        const size_t workbook = workbook_part();
        if (workbook == PackageParts::npos) return OZW_NOT_A_BOOK;
        if (int rc = parse(workbook, [&](std::string_view text) { return xlsx_parse_workbook(state_, text); }))
            return rc;
        return state_.sink.finish(state_.context);
    }

private:
    size_t workbook_part() const {
        for (size_t i = 0; i < parts_.count(); ++i)
            if (parts_.name(i) == kWorkbook) return i;
        return PackageParts::npos;
    }

    template <typename Parser>
    int parse(size_t i, Parser parser) {
        std::string_view text;
        if (int rc = parts_.read(i, text)) return rc;
        return parser(text);
    }

    // Finds the part of each listed sheet (source_) and, for worksheets,
    // the part whose cells fill it (worksheet_).
    int match_sheets(size_t workbook) {
        std::vector<XlsxRelationship> relationships;
        if (!xlsx_relationships(parts_.part_name(workbook), parts_.reader(), relationships))
            return match_by_position();
        std::unordered_map<std::string_view, const XlsxRelationship *> by_id;
        for (const XlsxRelationship &rel : relationships)
            if (!rel.id.empty()) by_id.emplace(rel.id, &rel);
        const size_t listed = state_.context.sheet_names.size();
        source_.assign(listed, PackageParts::npos);
        worksheet_.assign(listed, PackageParts::npos);
        // A part belongs to the first sheet that names it, so that no part
        // is read twice however many sheets a damaged workbook lists.
        std::vector<bool> taken(parts_.count(), false);
        for (size_t sheet = 0; sheet < listed && sheet < state_.sheet_relationship_ids.size(); ++sheet) {
            auto found = by_id.find(state_.sheet_relationship_ids[sheet]);
            if (found == by_id.end()) continue;
            const size_t part = parts_.find(found->second->part);
            if (part == PackageParts::npos || taken[part]) continue;
            taken[part] = true;
            source_[sheet] = part;
            if (found->second->type.ends_with("/worksheet")) worksheet_[sheet] = part;
        }
        return 0;
    }

    // The n-th worksheet part in name order fills the n-th listed sheet; a
    // worksheet part beyond the listed sheets gets a sheet "Sheet<n>".
    int match_by_position() {
        std::vector<std::string> &names = state_.context.sheet_names;
        worksheet_.clear();
        for (size_t k = 0; k < parts_.count(); ++k) {
            size_t i = parts_.sorted(k);
            if (parts_.name(i).substr(0, kWorksheet.size()) != kWorksheet) continue;
            if (worksheet_.size() >= names.size()) names.push_back("Sheet" + std::to_string(worksheet_.size() + 1));
            worksheet_.push_back(i);
        }
        // Listed sheets without a worksheet part are not part of the book.
        names.resize(worksheet_.size());
        source_ = worksheet_;
        return 0;
    }

    // The comments, threaded comments and shapes of each sheet, from the
    // parts its part's relationships name: a part belongs to the first
    // sheet that names it.  Threaded comments are read before the legacy
    // comments that copy them.
    int read_notes() {
        std::vector<bool> taken(parts_.count(), false);
        for (size_t sheet = 0; sheet < source_.size(); ++sheet) {
            if (source_[sheet] == PackageParts::npos || !state_.sink.wants_sheet(state_.context, static_cast<int>(sheet)))
                continue;
            std::vector<XlsxRelationship> relationships;
            xlsx_relationships(parts_.part_name(source_[sheet]), parts_.reader(), relationships);
            const int owner = static_cast<int>(sheet);
            std::vector<CellPos> threaded_cells;
            for (std::string_view type : {"/threadedComment", "/comments"}) {
                for (const XlsxRelationship &rel : relationships) {
                    if (!rel.type.ends_with(type)) continue;
                    int rc = parse_note_part(rel.part, taken, [&](std::string_view text) {
                        return xlsx_parse_comments(state_, owner, text, type == "/threadedComment", threaded_cells);
                    });
                    if (rc) return rc;
                }
            }
            // A chart sheet's shapes stand at A1.
            XlsxDrawingPlace place;
            if (worksheet_[sheet] == PackageParts::npos) place.fixed = CellPos{};
            for (const XlsxRelationship &rel : relationships) {
                if (!rel.type.ends_with("/drawing")) continue;
                if (int rc = read_drawing(owner, rel.part, place, taken)) return rc;
            }
        }
        return 0;
    }

    // A drawing part's shapes, then the shapes drawn over each chart it
    // shows, which stand at the chart's cell.
    int read_drawing(int sheet, const std::string &part, const XlsxDrawingPlace &place, std::vector<bool> &taken) {
        std::vector<XlsxChartFrame> charts;
        int rc = parse_note_part(part, taken, [&](std::string_view text) {
            return xlsx_parse_drawing(state_, sheet, text, place, charts);
        });
        if (rc || charts.empty()) return rc;
        std::vector<XlsxRelationship> drawing_relationships;
        xlsx_relationships(part, parts_.reader(), drawing_relationships);
        for (const XlsxChartFrame &chart : charts) {
            for (const XlsxRelationship &rel : drawing_relationships) {
                if (rel.id != chart.relationship_id) continue;
                std::vector<XlsxRelationship> chart_relationships;
                xlsx_relationships(rel.part, parts_.reader(), chart_relationships);
                XlsxDrawingPlace over_chart{chart.cell, true};
                std::vector<XlsxChartFrame> none;
                for (const XlsxRelationship &shapes : chart_relationships) {
                    if (!shapes.type.ends_with("/chartUserShapes")) continue;
                    rc = parse_note_part(shapes.part, taken, [&](std::string_view text) {
                        return xlsx_parse_drawing(state_, sheet, text, over_chart, none);
                    });
                    if (rc) return rc;
                }
            }
        }
        return 0;
    }

    // Parses the part named `name` unless it is missing, cannot be read or
    // was read before.
    template <typename Parser>
    int parse_note_part(std::string_view name, std::vector<bool> &taken, Parser parser) {
        const size_t i = parts_.find(name);
        if (i == PackageParts::npos || taken[i]) return 0;
        taken[i] = true;
        std::string_view text;
        if (parts_.read(i, text) != 0) return 0;
        return parser(text);
    }

    XlsxReadState state_;
    PackageParts &parts_;
    std::vector<size_t> source_;      // by sheet: the sheet's own part, or npos
    std::vector<size_t> worksheet_;   // by sheet: the worksheet part of its cells, or npos
};

// The book's list of parts: "<folder><separator><part>" for each part, then
// the folder itself.
int keep_part_list(XLS_BOOK *book, const ExtractedParts &parts) {
    std::string folder = parts.folder();
    size_t count = parts.count() + 1;
    char **list = static_cast<char **>(std::calloc(count, sizeof(char *)));
    if (!list) return OXLS_ERR_MEMORY;
    book->extract_list = list;
    for (size_t i = 0; i < count; ++i) {
        std::string entry = folder;
        if (i + 1 < count) (entry += zplat::kSeparator) += parts.part_name(i);
        list[i] = static_cast<char *>(std::malloc(entry.size() + 1));
        if (!list[i]) return OXLS_ERR_MEMORY;
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
    int rc = orb_extract_package(ozw_package_store(book), book->thread_no, path, package);
    // A folder the book made for itself goes with the book.
    OzwWork *work = ozw_work(book);
    if (work && package.on_disk) work->disk_folder = package.folder;
    if (rc == ORB_ZIP_REFUSED) return OXLS_ERR_UNSUPPORTED;
    return rc;
}

// Unpacks the package at `path` for the book and hands `read` a reader of
// its parts into the book record, and the parts.
template <typename Read>
int read_into_record(XLS_BOOK *book, const char *path, Read read) {
    try {
        ExtractedPackage package;
        if (int rc = extract(book, path, package)) return rc;
        ExtractedParts source(package);
        PackageParts parts(source);
        ReadContext context;
        context.book_kind = BOOK_KIND_XLSX;
        context.styles = ozw_styles(book);
        book->sheet_count = 0;
        BookTableSink sink(book);
        PackageReader reader(parts, context, sink, book);
        return read(reader, source);
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
}

}  // namespace

int ozw_read_excel2007(XLS_BOOK *book, const char *path) {
    StyleTables *styles = ozw_styles(book);
    if (!styles) return OXLS_ERR_MEMORY;
    if (!book->flags[OXLS_FLAG_KEEP_STYLES]) {
        styles->number_formats.clear();
        styles->fonts.clear();
    }
    // Cell styles refer to the book's own format table only; a book
    // without a styles part has none, and its numbers are general.
    styles->xfs.clear();
    return read_into_record(book, path, [book](PackageReader &reader, const ExtractedParts &source) {
        if (int rc = reader.run()) return rc;
        drop_part_list(book);
        return keep_part_list(book, source);
    });
}

int ozw_list_excel2007(XLS_BOOK *book, const char *path) {
    return read_into_record(book, path, [](PackageReader &reader, const ExtractedParts &) { return reader.list_sheets(); });
}

int ozw_stream_excel2007(std::string_view package, ReadContext &context, BookSink &sink, GrowBuffer &buffer) {
    try {
        PackageEntries entries;
        int rc = entries.open(package, ZipExtractLimits{});
        if (rc == ORB_ZIP_REFUSED) return OXLS_ERR_UNSUPPORTED;
        if (rc) return rc;
        EntryParts source(entries, buffer);
        PackageParts parts(source);
        return PackageReader(parts, context, sink, nullptr).run();
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
}
