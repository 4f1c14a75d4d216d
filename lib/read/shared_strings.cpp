#include "shared_strings.h"

#include "result_codes.h"


#include <new>

int SharedStrings::add(std::string_view text) {
    try {
        bytes_.append(text);
        ends_.push_back(bytes_.size());
    } catch (const std::bad_alloc &) {
        return OXLS_ERR_MEMORY;
    }
    return 0;
}
