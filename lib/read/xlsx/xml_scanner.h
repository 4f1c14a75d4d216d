// A single-pass XML scanner for the parts of an Excel 2007 package.  It
// walks the text once, without building a document tree, and tells a
// handler about each start tag, end tag and text run.  Element names are
// mapped to small numbers by a caller-supplied function so that handlers
// switch on numbers instead of comparing strings.
#pragma once

#include "result_codes.h"

#include <cstddef>
#include <string_view>

// Elements may nest at most this deep; deeper nesting fails the part.
constexpr int XML_MAX_DEPTH = 100;
// Names longer than this are never mapped to an identifier.
constexpr size_t XML_MAX_NAME = 255;

// Scanner results (0 is success).
constexpr int XML_MALFORMED = -1;   // unterminated markup, stray end tag
constexpr int XML_TOO_DEEP = OZW_LIMIT_REACHED;    // more than XML_MAX_DEPTH open elements

// One start or end tag.  The views point into the scanned text.
struct XmlTag {
    int id = -1;                    // mapped identifier, -1 for unknown names
    std::string_view name;
    std::string_view attributes;    // raw attribute text (start tags only)
    size_t begin = 0;               // offset of '<'
    size_t end = 0;                 // offset just after '>'
    bool empty = false;             // written as <name/>
};

class XmlScanner;

// Receives the scanner's events.  A nonzero result ends the scan with it.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    // A start tag; the element is already on the scanner's stack.
    virtual int start(const XmlTag &tag, const XmlScanner &scanner) = 0;
    // An end tag, or the end of an empty element; the element has already
    // been taken off the stack.
    virtual int end(const XmlTag &tag, const XmlScanner &scanner) = 0;
    // Text between tags inside an open element.  `literal` is true for a
    // CDATA section, whose text carries no entity references.
    virtual int text(std::string_view raw, bool literal, const XmlScanner &scanner) = 0;
};

using XmlNameMap = int (*)(std::string_view name);

class XmlScanner {
public:
    explicit XmlScanner(XmlNameMap map) : map_(map) {}

    // Scans the whole text; 0, XML_MALFORMED, XML_TOO_DEEP, or the first
    // nonzero handler result.
    int scan(std::string_view text, XmlHandler &handler);

    int depth() const { return depth_; }
    // Identifier of the open element `levels_up` above the innermost one
    // (0 the innermost); -1 beyond the stack.
    int open_id(int levels_up = 0) const {
        return levels_up < depth_ ? ids_[depth_ - 1 - levels_up] : -1;
    }
    // True when an element with this identifier is open anywhere.
    bool inside(int id) const;
    // Called by a handler from start() or end(): the handler has read the
    // text after the tag itself, up to `offset`, where the scan goes on.
    // What it read must leave no element open that the scan would need to
    // close, and close none the scan holds open.
    void skip_to(size_t offset) { skip_to_ = offset; }

private:
    int start_tag(std::string_view text, size_t at, size_t &next, XmlHandler &handler);
    int end_tag(std::string_view text, size_t at, size_t &next, XmlHandler &handler);

    XmlNameMap map_;
    size_t skip_to_ = 0;
    int depth_ = 0;
    int ids_[XML_MAX_DEPTH] = {};
    std::string_view names_[XML_MAX_DEPTH];
};

// Offset just after the '>' that closes a tag whose name ends at `from`,
// skipping quoted attribute values (which may hold '>'); npos when the tag
// is not closed.
// Inline: called for every tag of every worksheet.
inline size_t xml_tag_close(std::string_view text, size_t from) {
    size_t i = from;
    while (i < text.size()) {
        char c = text[i];
        if (c == '>') return i + 1;
        if (c == '"' || c == '\'') {
            // Attribute values are short: a plain loop beats a library search.
            ++i;
            while (i < text.size() && text[i] != c) ++i;
            if (i == text.size()) return std::string_view::npos;
            ++i;
            continue;
        }
        ++i;
    }
    return std::string_view::npos;
}

// XML white space.
inline bool xml_is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Walks the attributes of a start tag: each call takes the next
// name="value" (or name='value') pair off `rest`.  The value is the raw
// text between the quotes.  False when no further well-formed pair is left.
// Inline: called for every attribute of every cell.
inline bool xml_next_attribute(std::string_view &rest, std::string_view &name, std::string_view &value) {
    size_t i = 0;
    const size_t size = rest.size();
    while (i < size && xml_is_blank(rest[i])) ++i;
    size_t name_from = i;
    while (i < size && rest[i] != '=' && !xml_is_blank(rest[i])) ++i;
    size_t name_to = i;
    while (i < size && xml_is_blank(rest[i])) ++i;
    if (name_to == name_from || i >= size || rest[i] != '=') {
        rest = {};
        return false;
    }
    ++i;
    while (i < size && xml_is_blank(rest[i])) ++i;
    if (i >= size || (rest[i] != '"' && rest[i] != '\'')) {
        rest = {};
        return false;
    }
    char quote = rest[i];
    size_t value_from = i + 1;
    size_t value_to = value_from;
    while (value_to < size && rest[value_to] != quote) ++value_to;
    if (value_to == size) {
        rest = {};
        return false;
    }
    name = rest.substr(name_from, name_to - name_from);
    value = rest.substr(value_from, value_to - value_from);
    rest.remove_prefix(value_to + 1);
    return true;
}


// The raw value of the attribute `name` of a start tag; empty when the tag
// has none.
std::string_view xml_attribute(std::string_view attributes, std::string_view name);

// Reads an attribute value that must be an unsigned decimal number of at
// most `limit`; false for anything else.
bool xml_unsigned(std::string_view text, long long limit, long long &value);
