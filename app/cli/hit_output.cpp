#include "cli/hit_output.h"

#include "cli/json_text.h"

#include <cstdio>

namespace zscan {
namespace {

const char *matched_name(MatchedText matched) {
    switch (matched) {
    case MatchedText::Shown: return "shown";
    case MatchedText::Date: return "date";
    case MatchedText::Display: break;
    }
    return "display";
}

const char *kind_name(BookKind kind) {
    switch (kind) {
    case BookKind::Excel2007Macro: return "xlsm";
    case BookKind::Excel2003: return "xls";
    case BookKind::Excel2007:
    case BookKind::NotABook: break;
    }
    return "xlsx";
}

const char *reason_name(SkipReason reason) {
    switch (reason) {
    case SkipReason::Encrypted: return "encrypted";
    case SkipReason::NotABook: return "not_a_book";
    case SkipReason::Damaged: return "damaged";
    case SkipReason::PermissionDenied: return "permission_denied";
    case SkipReason::PathTooLong: return "path_too_long";
    case SkipReason::Unreadable: break;
    }
    return "unreadable";
}

const char *end_name(SearchEnd end) {
    switch (end) {
    case SearchEnd::Interrupted: return "interrupted";
    case SearchEnd::HitLimit: return "hit_limit";
    case SearchEnd::Complete: break;
    }
    return "complete";
}

}  // namespace

std::string reason_text(const NotSearched &item) {
    std::string reason;
    switch (item.reason) {
    case SkipReason::Encrypted: reason = "encrypted with a password"; break;
    case SkipReason::NotABook: reason = "not a book this program reads"; break;
    case SkipReason::Damaged: reason = "damaged"; break;
    case SkipReason::PermissionDenied: return "permission denied";
    case SkipReason::PathTooLong: return "path too long";
    case SkipReason::Unreadable: return item.detail.empty() ? "cannot be read" : item.detail;
    }
    return item.detail.empty() ? reason : reason + ": " + item.detail;
}

std::string HitOutput::hit(const RecordedHit &hit) const {
    if (quiet_) return {};
    if (mode_ == OutputMode::Lines) return hit.line.empty() ? std::string() : std::string(hit.line) + "\n";
    if (mode_ != OutputMode::Json) return {};
    std::string out = "{\"type\":\"hit\",";
    append_json_text_field(out, "path", hit.place.book_path);
    out += ',';
    append_json_text_field(out, "sheet", hit.place.sheet_name);
    out += ",\"place\":{\"cell\":";
    append_json_string(out, hit.place.cell_name);
    if (hit.place.holder != TextHolder::Cell) {
        out += ",\"holder\":\"";
        out += holder_key(hit.place.holder);
        out += '"';
        if (!hit.place.holder_name.empty()) {
            out += ',';
            append_json_text_field(out, "name", hit.place.holder_name);
        }
    }
    out += "},";
    append_json_text_field(out, "text", hit.text);
    out += ",\"matched\":\"";
    out += matched_name(hit.matched);
    out += "\",\"kind\":\"";
    out += kind_name(hit.place.kind);
    return out += "\"}\n";
}

std::string HitOutput::book(std::string_view path, int hits) const {
    if (quiet_) return {};
    const char end = null_ends_paths_ ? '\0' : '\n';
    switch (mode_) {
    case OutputMode::Count: return hits > 0 ? std::string(path) + ":" + std::to_string(hits) + "\n" : std::string();
    case OutputMode::FilesWithHits: return hits > 0 ? std::string(path) + end : std::string();
    case OutputMode::FilesWithoutHits: return hits == 0 ? std::string(path) + end : std::string();
    case OutputMode::Lines:
    case OutputMode::Json: break;
    }
    return {};
}

std::string HitOutput::summary(const SearchContext &context, SearchEnd end, double seconds) const {
    if (quiet_ || mode_ != OutputMode::Json) return {};
    std::string out = "{\"type\":\"summary\",\"books_searched\":" + std::to_string(context.books_searched.load()) +
                      ",\"not_searched\":[";
    for (size_t i = 0; i < context.not_searched.size(); ++i) {
        const NotSearched &item = context.not_searched[i];
        out += i == 0 ? "{" : ",{";
        append_json_text_field(out, "path", item.path);
        out += item.folder ? ",\"folder\":true,\"reason\":\"" : ",\"folder\":false,\"reason\":\"";
        out += reason_name(item.reason);
        out += "\",";
        append_json_text_field(out, "detail", item.detail);
        out += '}';
    }
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%.3f", seconds);
    out += "],\"hits\":" + std::to_string(context.hits_recorded) + ",\"end\":\"" + end_name(end) +
           "\",\"complete\":" + (end == SearchEnd::Complete && context.not_searched.empty() ? "true" : "false") +
           ",\"elapsed_seconds\":" + elapsed + ",";
    append_json_text_field(out, "result", context.result_file_path);
    return out += "}\n";
}

}  // namespace zscan
