// Section files: ini-style settings files held in memory as a list of
// key/value entries.  The whole file is read into the list, entries are
// looked up, changed, added or switched off, and the whole list is
// written back, sorted by key.  Values may be stored enciphered.
#pragma once

#include <string>

constexpr int SECTION_PATH_LEN = 257;
constexpr int SECTION_NAME_LEN = 81;
constexpr int SECTION_KEY_LEN = 80;        // longest key taken from a file
constexpr int SECTION_LINE_LEN = 16384;    // longest line read

// Option bit: the value is stored enciphered with the record's cipher key.
constexpr int SECTION_ENCIPHERED = 1;

struct SectionEntry {
    char key[84];
    char *value;            // owned, sized to the value
    int state;              // -1 active, 0 switched off
};

// The caller owns the record and zeroes it before use.
struct SectionFile {
    char path[SECTION_PATH_LEN];
    char section[SECTION_NAME_LEN];     // filled by reading, written as the first line
    char cipher_key[18];                // first 16 bytes used, filled up with zero bytes
    int charset;                        // character set of the lines (CS_SJIS ...)
    SectionEntry *entries;
    int entry_count;
    int entry_capacity;
};

// Reads the file at path into the list (replacing what it held): 0; -2
// no memory; -101 the file cannot be opened (the list is then empty).
int orb_section_read(SectionFile *file);
// The value of the first active entry with the key: 0, or 1403 (value
// empty); -3 when an enciphered value cannot be deciphered.
int orb_section_get(SectionFile *file, int options, const char *key, std::string &value);
// The first active entry with the key at or after *index: 0 and *index
// set past it, or 1403.
int orb_section_get_next(SectionFile *file, int options, const char *key, std::string &value, int *index);
// Replaces the value of the first entry with the key, active or not, or
// appends an active entry.  0; -2 no memory; -3 a key over 80 bytes.
int orb_section_set(SectionFile *file, int options, const char *key, const char *value);
// Appends an active entry.  0; -2; -3.
int orb_section_add(SectionFile *file, int options, const char *key, const char *value);
// Switches every active entry with the key off.  0.
int orb_section_switch_off(SectionFile *file, const char *key);
// Writes "[section]" and one KEY="value" line per entry not switched off,
// in ascending byte order of the keys.  0; -2; -101 the file cannot be
// created; -103 a line cannot be written.
int orb_section_write(SectionFile *file);
// Releases the values and the entry table.
void orb_section_free(SectionFile *file);
