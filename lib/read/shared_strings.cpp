#include "shared_strings.h"

#include <new>

int SharedStrings::add(std::string_view text) {
    try {
        bytes_.append(text);
        ends_.push_back(bytes_.size());
    } catch (const std::bad_alloc &) {
        return -2;
    }
    return 0;
}
