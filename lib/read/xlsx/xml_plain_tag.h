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

// Reads the attributes of a start tag from `at`, just after its name, in
// one pass when they have the shape producers write: name="value" pairs
// (either quote) after white space, then > or />.  `take(name, value)` is
// called for each; `tag` gets the tag's end.  False for any other shape,
// which xml_plain_tag and xml_next_attribute then read (what was taken
// must then be forgotten).
template <class Take>
bool xml_plain_attributes(std::string_view text, size_t at, XmlPlainTag &tag, Take &&take) {
    const size_t size = text.size();
    for (;;) {
        const size_t blanks_from = at;
        while (at < size && xml_is_blank(text[at])) ++at;
        if (at >= size) return false;
        if (text[at] == '>' || text[at] == '/') {
            tag.empty = text[at] == '/';
            if (tag.empty && (at + 1 >= size || text[at + 1] != '>')) return false;
            tag.end = at + (tag.empty ? 2 : 1);
            tag.closing = false;
            return true;
        }
        if (at == blanks_from) return false;
        const size_t name_from = at;
        while (at < size && text[at] != '=' && text[at] != '>' && text[at] != '/' && !xml_is_blank(text[at])) ++at;
        if (at == name_from || at + 1 >= size || text[at] != '=') return false;
        const char quote = text[at + 1];
        if (quote != '"' && quote != '\'') return false;
        const size_t value_from = at + 2;
        at = value_from;
        while (at < size && text[at] != quote) ++at;
        if (at >= size) return false;
        take(text.substr(name_from, value_from - 2 - name_from), text.substr(value_from, at - value_from));
        ++at;
    }
}

// The text of the element whose start tag is `tag`, when it holds nothing
// but text (none when the tag is empty): the offset after the element, or
// npos.
inline size_t xml_plain_element_text(std::string_view text, const XmlPlainTag &tag, std::string_view &content) {
    content = {};
    if (tag.empty) return tag.end;
    const size_t lt = xml_next_tag(text, tag.end);
    XmlPlainTag end;
    if (lt == std::string_view::npos || !xml_plain_tag(text, lt, end) || !end.closing || end.name != tag.name)
        return std::string_view::npos;
    content = text.substr(tag.end, lt - tag.end);
    return end.end;
}
