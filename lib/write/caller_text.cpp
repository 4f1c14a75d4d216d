// Conversions of caller texts for storing and for messages.
#include "caller_text.h"

#include "charset.h"
#include "work_area.h"

int ozw_caller_to_utf8(XLS_BOOK *book, std::string_view text, std::string &out) {
    int charset = ozw_charset(book);
    if (charset == CS_UTF8) {
        out.assign(text);
        return 0;
    }
    return orb_convert(charset, CS_UTF8, text, out);
}

std::string ozw_caller_to_sjis(XLS_BOOK *book, std::string_view text) {
    int charset = ozw_charset(book);
    std::string out;
    if (charset == CS_SJIS || orb_convert(charset, CS_SJIS, text, out) != 0) return std::string(text);
    return out;
}

std::string ozw_utf8_to_sjis(std::string_view text) {
    std::string out;
    if (orb_convert(CS_UTF8, CS_SJIS, text, out) != 0) return std::string(text);
    return out;
}
