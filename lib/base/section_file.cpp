// Section files over the plain-file layer and the word reader.
#include "section_file.h"

#include "section_cipher.h"
#include "plain_file.h"
#include "result_codes.h"
#include "word_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr int kCapacityStep = 10;
constexpr int kNotFound = 1403;

char *copy_text(const std::string &text) {
    auto *copy = static_cast<char *>(std::malloc(text.size() + 1));
    if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// The value as stored: enciphered when the option asks for it.
std::string stored_value(const SectionFile *file, int options, const char *value) {
    if (!(options & SECTION_ENCIPHERED)) return value;
    return orb_encipher_value(orb_cipher_key(std::string_view(file->cipher_key, sizeof file->cipher_key)), value);
}

int shown_value(const SectionFile *file, int options, const SectionEntry &entry, std::string &value) {
    if (!(options & SECTION_ENCIPHERED)) {
        value = entry.value;
        return 0;
    }
    SectionCipherKey key = orb_cipher_key(std::string_view(file->cipher_key, sizeof file->cipher_key));
    return orb_decipher_value(key, entry.value, value) ? 0 : OXLS_ERR_ARGUMENT;
}

int append_entry(SectionFile *file, const char *key, const std::string &value) {
    if (std::strlen(key) > static_cast<size_t>(SECTION_KEY_LEN)) return OXLS_ERR_ARGUMENT;
    if (file->entry_count >= file->entry_capacity) {
        int capacity = file->entry_capacity + kCapacityStep;
        void *grown = std::realloc(file->entries, sizeof(SectionEntry) * static_cast<size_t>(capacity));
        if (!grown) return OXLS_ERR_MEMORY;
        file->entries = static_cast<SectionEntry *>(grown);
        file->entry_capacity = capacity;
    }
    char *copy = copy_text(value);
    if (!copy) return OXLS_ERR_MEMORY;
    SectionEntry &entry = file->entries[file->entry_count++];
    std::memset(&entry, 0, sizeof entry);
    std::strcpy(entry.key, key);
    entry.value = copy;
    entry.state = -1;
    return 0;
}

int find_active(const SectionFile *file, const char *key, int from) {
    for (int i = std::max(from, 0); i < file->entry_count; ++i)
        if (file->entries[i].state != 0 && std::strcmp(file->entries[i].key, key) == 0) return i;
    return -1;
}

bool is_section_line(const char *line, size_t length) {
    return length >= 2 && length < static_cast<size_t>(SECTION_NAME_LEN + 1) && line[0] == '[' && line[length - 1] == ']';
}

// A value between double quotes from `position` on, each "" inside it
// standing for one quote, as the writer puts it; false when no quoted
// value starts there.  The quotes never split a double-byte character's
// trail byte, which is not a quote in any character set read here.
bool read_quoted_value(std::string_view line, size_t position, std::string &value) {
    while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) ++position;
    if (position >= line.size() || line[position] != '"') return false;
    value.clear();
    for (size_t i = position + 1; i < line.size(); ++i) {
        if (line[i] != '"') {
            value += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            value += '"';
            ++i;
        } else {
            return true;
        }
    }
    return true;   // an unclosed value runs to the end of the line
}

// Takes a KEY = value line into the list; lines of another form are
// skipped.  0 or -2.
int take_line(SectionFile *file, std::string_view line) {
    size_t position = 0;
    std::string key, equals, value;
    if (orb_read_word(file->charset, line, position, key) != 0 || key.size() > static_cast<size_t>(SECTION_KEY_LEN))
        return 0;
    if (orb_read_word(file->charset, line, position, equals) != 0 || equals != "=") return 0;
    if (!read_quoted_value(line, position, value) && orb_read_word(file->charset, line, position, value) != 0)
        return 0;
    return append_entry(file, key.c_str(), value);
}

// KEY="value", the value's own quotes doubled.
void append_entry_line(std::string &line, const SectionEntry &entry) {
    line.assign(entry.key).append("=\"");
    for (const char *c = entry.value; *c != '\0'; ++c) line.append(*c == '"' ? 2 : 1, *c);
    line.append(1, '"');
}

}  // namespace

int orb_section_read(SectionFile *file) {
    orb_section_free(file);
    PlainFile *in = orb_file_open(file->path, zplat::FILE_READ);
    if (!in) return OXLS_ERR_OPEN;
    std::vector<char> line(SECTION_LINE_LEN + 1);
    int rc = 0;
    while (rc == 0 && orb_read_line(line.data(), static_cast<int>(line.size()), in)) {
        size_t length = std::strlen(line.data());
        if (line[0] == '#' || line[0] == ';') continue;
        if (is_section_line(line.data(), length)) {
            std::memcpy(file->section, line.data() + 1, length - 2);
            file->section[length - 2] = '\0';
            continue;
        }
        rc = take_line(file, std::string_view(line.data(), length));
    }
    orb_file_close(in);
    return rc;
}

int orb_section_get(SectionFile *file, int options, const char *key, std::string &value) {
    int index = 0;
    return orb_section_get_next(file, options, key, value, &index);
}

int orb_section_get_next(SectionFile *file, int options, const char *key, std::string &value, int *index) {
    value.clear();
    int found = find_active(file, key, *index);
    if (found < 0) return kNotFound;
    *index = found + 1;
    return shown_value(file, options, file->entries[found], value);
}

int orb_section_set(SectionFile *file, int options, const char *key, const char *value) {
    for (int i = 0; i < file->entry_count; ++i) {
        SectionEntry &entry = file->entries[i];
        if (std::strcmp(entry.key, key) != 0) continue;
        char *copy = copy_text(stored_value(file, options, value));
        if (!copy) return OXLS_ERR_MEMORY;
        std::free(entry.value);
        entry.value = copy;
        return 0;
    }
    return orb_section_add(file, options, key, value);
}

int orb_section_add(SectionFile *file, int options, const char *key, const char *value) {
    return append_entry(file, key, stored_value(file, options, value));
}

int orb_section_switch_off(SectionFile *file, const char *key) {
    for (int i = 0; i < file->entry_count; ++i)
        if (file->entries[i].state != 0 && std::strcmp(file->entries[i].key, key) == 0) file->entries[i].state = 0;
    return 0;
}

int orb_section_write(SectionFile *file) {
    PlainFile *out = orb_file_open(file->path, zplat::FILE_WRITE);
    if (!out) return OXLS_ERR_OPEN;
    int rc = 0;
    try {
        std::stable_sort(file->entries, file->entries + file->entry_count,
                         [](const SectionEntry &a, const SectionEntry &b) { return std::strcmp(a.key, b.key) < 0; });
        std::string line;
        line.append(1, '[').append(file->section).append(1, ']');
        rc = orb_write_line(line.c_str(), out);
        for (int i = 0; rc == 0 && i < file->entry_count; ++i) {
            const SectionEntry &entry = file->entries[i];
            if (entry.state == 0) continue;
            append_entry_line(line, entry);
            rc = orb_write_line(line.c_str(), out);
        }
    } catch (const std::bad_alloc &) {
        rc = OXLS_ERR_MEMORY;
    }
    orb_file_close(out);
    return rc;
}

void orb_section_free(SectionFile *file) {
    for (int i = 0; i < file->entry_count; ++i) std::free(file->entries[i].value);
    std::free(file->entries);
    file->entries = nullptr;
    file->entry_count = 0;
    file->entry_capacity = 0;
}
