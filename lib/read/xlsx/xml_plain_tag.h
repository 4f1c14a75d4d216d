// Tags of the plain shape producers write, read straight from a part's
// text: the fast readers of rows and shared strings walk them without the
// general scanner's stack and name lookup, and hand anything else back to
// that scanner.  Inline: called for every tag of the largest parts.
#pragma once

#include "xlsx/xml_scanner.h"

#include <cstddef>
#include <string_view>

// A tag of the plain shape: an unprefixed name, then attributes.
struct XmlPlainTag {
    std::string_view name;
    std::string_view attributes;
    size_t end = 0;       // just after its '>'
    bool closing = false; // </name>
    bool empty = false;   // <name .../>
};

// The '<' of the next tag at or after `at`; npos when there is none.
// Tags in these parts lie a few bytes apart, closer than a library search
// pays off.
inline size_t xml_next_tag(std::string_view text, size_t at) {
    const size_t size = text.size();
    while (at < size && text[at] != '<') ++at;
    return at < size ? at : std::string_view::npos;
}

inline bool xml_starts_at(std::string_view text, size_t at, std::string_view literal) {
    if (at > text.size() || text.size() - at < literal.size()) return false;
    for (size_t i = 0; i < literal.size(); ++i)
        if (text[at + i] != literal[i]) return false;
    return true;
}

// The tag at `at` (a '<'); false for markup of another kind: comments,
// CDATA, processing instructions, prefixed names, unclosed tags.
inline bool xml_plain_tag(std::string_view text, size_t at, XmlPlainTag &tag) {
    size_t from = at + 1;
    tag.closing = from < text.size() && text[from] == '/';
    if (tag.closing) ++from;
    size_t to = from;
    while (to < text.size() && ((text[to] >= 'a' && text[to] <= 'z') || (text[to] >= 'A' && text[to] <= 'Z'))) ++to;
    if (to == from || to >= text.size()) return false;
    tag.name = text.substr(from, to - from);
    if (tag.closing) {
        if (text[to] != '>') return false;
        tag.end = to + 1;
        tag.empty = false;
        tag.attributes = {};
        return true;
    }
    const char next = text[to];
    if (next != '>' && next != '/' && !xml_is_blank(next)) return false;
    tag.end = xml_tag_close(text, to);
    if (tag.end == std::string_view::npos) return false;
    size_t attributes_to = tag.end - 1;
    tag.empty = attributes_to > to && text[attributes_to - 1] == '/';
    if (tag.empty) --attributes_to;
    tag.attributes = text.substr(to, attributes_to - to);
    return true;
}

// The text of the element whose start tag is `tag`, when it holds nothing
// but text: the offset after its end tag, or npos.
inline size_t xml_plain_element_text(std::string_view text, const XmlPlainTag &tag, std::string_view &content) {
    const size_t lt = xml_next_tag(text, tag.end);
    XmlPlainTag end;
    if (lt == std::string_view::npos || !xml_plain_tag(text, lt, end) || !end.closing || end.name != tag.name)
        return std::string_view::npos;
    content = text.substr(tag.end, lt - tag.end);
    return end.end;
}
