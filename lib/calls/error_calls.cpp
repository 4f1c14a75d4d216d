// The error state of a book as the caller fetches it: the code of the last
// call, and its message in the caller's own character set.
#include "charset.h"
#include "messages.h"
#include "oxls.h"

#include <cstring>
#include <string>
#include <string_view>

namespace {

// A text this long fills the whole buffer and may have been cut.
constexpr size_t kLongestErrorText = XLS_ERROR_LEN - 1;

}  // namespace

int OXLS_error_code(XLS_BOOK *book) { return book ? book->log.error_code : OXLS_ERR_ARGUMENT; }

const char *OXLS_error_mesg(XLS_BOOK *book) {
    if (!book) return "";
    const char *text = book->log.error_info;
    size_t length = strnlen(text, sizeof book->log.error_info);
    // A text of the full buffer length may have been cut short: it is
    // replaced rather than shown truncated.
    std::string_view shown = length >= kLongestErrorText ? std::string_view(ozw_message_text(OXLS_4000)) : std::string_view(text, length);
    int charset = ozw_charset(book);
    std::string converted = orb_convert(CS_SJIS, charset, shown);
    if (converted.empty()) converted.assign(shown);
    // Keep whole characters when the converted text outgrows the buffer.
    size_t room = sizeof book->log.error_converted - 1;
    size_t end = 0;
    for (int i = 0; static_cast<size_t>(i) < converted.size();) {
        int next = i;
        orb_char_len(charset, static_cast<unsigned char>(converted[static_cast<size_t>(i)]), &next);
        if (static_cast<size_t>(next) + 1 > room) break;
        i = next + 1;
        end = static_cast<size_t>(i);
    }
    std::memcpy(book->log.error_converted, converted.data(), end);
    book->log.error_converted[end] = '\0';
    return book->log.error_converted;
}
