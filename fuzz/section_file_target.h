// Section (ini-style) files from hostile bytes: reading lines of any
// length and encoding into the entry list, looking keys up (plain and
// enciphered values), switching entries off, changing them and writing the
// list back.  The first input byte picks the character set of the lines.
#pragma once

#include "charset.h"
#include "fuzz_input.h"
#include "section_file.h"

#include <cstring>
#include <string>

namespace fuzz {

inline int run_section_file(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    static constexpr int kCharsets[] = {CS_SJIS, CS_EUC, CS_UTF8};
    const std::string path = put_scratch_file(".ini", data + 1, size - 1);
    SectionFile file;
    std::memset(&file, 0, sizeof file);
    std::snprintf(file.path, sizeof file.path, "%s", path.c_str());
    std::memcpy(file.cipher_key, "fuzz-cipher-key!", 16);
    file.charset = kCharsets[data[0] % 3];
    if (orb_section_read(&file) == 0) {
        std::string value;
        // Every key the file holds is looked up, plain and enciphered.
        for (int i = 0; i < file.entry_count; ++i) {
            const std::string key = file.entries[i].key;
            orb_section_get(&file, 0, key.c_str(), value);
            orb_section_get(&file, SECTION_ENCIPHERED, key.c_str(), value);
            int index = 0;
            for (int found = 0; found <= file.entry_count; ++found) {
                if (orb_section_get_next(&file, 0, key.c_str(), value, &index) != 0) break;
            }
        }
        if (file.entry_count > 0) {
            const std::string first = file.entries[0].key;
            orb_section_switch_off(&file, first.c_str());
            orb_section_set(&file, SECTION_ENCIPHERED, first.c_str(), "value");
        }
        orb_section_add(&file, 0, "FUZZ", "x");
        orb_section_write(&file);
    }
    orb_section_free(&file);
    return 0;
}

}  // namespace fuzz
