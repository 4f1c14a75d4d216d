// The single-pass XML scanner: markup is found with memchr-style searches
// over the text, so a part of hundreds of megabytes is walked at memory
// speed and nothing but the open-element stack is kept.
#include "xlsx/xml_scanner.h"

#include <cstring>

namespace {

// Offset of `what` at or after `from`, or npos.
size_t find(std::string_view text, std::string_view what, size_t from) {
    return from >= text.size() ? std::string_view::npos : text.find(what, from);
}

// Offset just after the '>' that ends a <!DOCTYPE ...> declaration, whose
// internal subset in brackets may hold further '>' characters.
size_t declaration_close(std::string_view text, size_t from) {
    int brackets = 0;
    for (size_t i = from; i < text.size(); ++i) {
        char c = text[i];
        if (c == '[') ++brackets;
        else if (c == ']' && brackets > 0) --brackets;
        else if (c == '>' && brackets == 0) return i + 1;
        else if (c == '"' || c == '\'') {
            size_t q = text.find(c, i + 1);
            if (q == std::string_view::npos) return q;
            i = q;
        }
    }
    return std::string_view::npos;
}

size_t name_end(std::string_view text, size_t from) {
    size_t i = from;
    while (i < text.size() && !xml_is_blank(text[i]) && text[i] != '>' && text[i] != '/') ++i;
    return i;
}

}  // namespace

bool XmlScanner::inside(int id) const {
    for (int i = 0; i < depth_; ++i)
        if (ids_[i] == id) return true;
    return false;
}

int XmlScanner::start_tag(std::string_view text, size_t at, size_t &next, XmlHandler &handler) {
    size_t name_from = at + 1;
    size_t name_to = name_end(text, name_from);
    size_t close = xml_tag_close(text, name_to);
    if (close == std::string_view::npos || name_to == name_from) return XML_MALFORMED;
    XmlTag tag;
    tag.name = text.substr(name_from, name_to - name_from);
    tag.id = tag.name.size() <= XML_MAX_NAME ? map_(tag.name) : -1;
    tag.begin = at;
    tag.end = close;
    size_t attributes_to = close - 1;   // the '>'
    tag.empty = attributes_to > name_to && text[attributes_to - 1] == '/';
    if (tag.empty) --attributes_to;
    tag.attributes = text.substr(name_to, attributes_to - name_to);
    if (depth_ >= XML_MAX_DEPTH) return XML_TOO_DEEP;
    ids_[depth_] = tag.id;
    names_[depth_] = tag.name;
    ++depth_;
    next = close;
    skip_to_ = 0;
    if (int rc = handler.start(tag, *this)) return rc;
    if (tag.empty) {
        --depth_;
        if (int rc = handler.end(tag, *this)) return rc;
    }
    if (skip_to_ > next && skip_to_ <= text.size()) next = skip_to_;
    return 0;
}

int XmlScanner::end_tag(std::string_view text, size_t at, size_t &next, XmlHandler &handler) {
    size_t name_from = at + 2;
    size_t name_to = name_end(text, name_from);
    size_t close = xml_tag_close(text, name_to);
    if (close == std::string_view::npos) return XML_MALFORMED;
    if (depth_ == 0) return XML_MALFORMED;
    next = close;
    std::string_view name = text.substr(name_from, name_to - name_from);
    // Find the open element this tag closes.  Elements left open inside it
    // (a stray <br> in a drawing) are closed with it; an end tag that
    // matches nothing open is ignored.
    int level = depth_ - 1;
    while (level >= 0 && names_[level] != name) --level;
    if (level < 0) return 0;
    skip_to_ = 0;
    while (depth_ > level) {
        --depth_;
        XmlTag tag;
        tag.id = ids_[depth_];
        tag.name = names_[depth_];
        tag.begin = at;
        tag.end = close;
        if (int rc = handler.end(tag, *this)) return rc;
    }
    if (skip_to_ > next && skip_to_ <= text.size()) next = skip_to_;
    return 0;
}

int XmlScanner::scan(std::string_view text, XmlHandler &handler) {
    depth_ = 0;
    size_t pos = 0;
    const size_t size = text.size();
    while (pos < size) {
        const void *lt = std::memchr(text.data() + pos, '<', size - pos);
        size_t at = lt ? static_cast<size_t>(static_cast<const char *>(lt) - text.data()) : size;
        if (at > pos && depth_ > 0) {
            if (int rc = handler.text(text.substr(pos, at - pos), false, *this)) return rc;
        }
        if (at >= size) break;
        if (at + 1 >= size) return XML_MALFORMED;
        char kind = text[at + 1];
        size_t next;
        if (kind == '?') {
            size_t close = find(text, "?>", at + 2);
            if (close == std::string_view::npos) return XML_MALFORMED;
            next = close + 2;
        } else if (kind == '!') {
            if (text.compare(at, 4, "<!--") == 0) {
                size_t close = find(text, "-->", at + 4);
                if (close == std::string_view::npos) return XML_MALFORMED;
                next = close + 3;
            } else if (text.compare(at, 9, "<![CDATA[") == 0) {
                size_t close = find(text, "]]>", at + 9);
                if (close == std::string_view::npos) return XML_MALFORMED;
                if (depth_ > 0) {
                    if (int rc = handler.text(text.substr(at + 9, close - at - 9), true, *this)) return rc;
                }
                next = close + 3;
            } else {
                // <!DOCTYPE ...>: skipped; its entities are never expanded.
                next = declaration_close(text, at + 2);
                if (next == std::string_view::npos) return XML_MALFORMED;
            }
        } else if (kind == '/') {
            if (int rc = end_tag(text, at, next, handler)) return rc;
        } else {
            if (int rc = start_tag(text, at, next, handler)) return rc;
        }
        pos = next;
    }
    return 0;
}

std::string_view xml_attribute(std::string_view attributes, std::string_view wanted) {
    std::string_view name, value;
    while (xml_next_attribute(attributes, name, value))
        if (name == wanted) return value;
    return {};
}

bool xml_unsigned(std::string_view text, long long limit, long long &value) {
    if (text.empty()) return false;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > limit) return false;
    }
    value = v;
    return true;
}
