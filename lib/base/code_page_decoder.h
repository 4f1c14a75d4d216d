// 8-bit and double-byte texts of one Windows code page turned into UTF-8,
// for one reader at a time: an old workbook stream keeps its texts in the
// code page its CODEPAGE record names.  Windows-1252, Mac Roman, ISO 8859-1
// and UTF-8 are decoded here; every other code page goes through the
// platform's conversions (iconv, or the Win32 ones), with a converter that
// belongs to this decoder alone, opened when the first text that is not
// plain ASCII needs it.  A code page the system cannot convert is read as
// Windows-1252, and the debug log says so.
#pragma once

#include "platform/platform.h"

#include <memory>
#include <string>
#include <string_view>

constexpr int CODE_PAGE_LATIN1 = 28591;
constexpr int CODE_PAGE_WINDOWS_1252 = 1252;
constexpr int CODE_PAGE_MAC_ROMAN = 10000;
constexpr int CODE_PAGE_UTF8 = 65001;

class CodePageDecoder {
public:
    explicit CodePageDecoder(int codepage = CODE_PAGE_WINDOWS_1252) : codepage_(codepage) {}

    // Decodes the texts that follow from `codepage`.
    void set_code_page(int codepage);
    // The code page texts are decoded from: the one set, or 1252 once the
    // one set turned out to have no conversion.
    int code_page() const { return codepage_; }

    // Appends the UTF-8 of `bytes`.  False only when memory runs out.
    bool append(std::string_view bytes, std::string &out);

private:
    bool append_converted(std::string_view bytes, std::string &out);

    int codepage_;
    std::unique_ptr<zplat::CodePageConverter> converter_;
};
