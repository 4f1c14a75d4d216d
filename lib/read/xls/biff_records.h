// BIFF records of an Excel 97-2003 workbook stream: the record numbers the
// reader interprets, the record as it is handed around, and little-endian
// field access.
#pragma once

#include <cstdint>
#include <cstring>

namespace biff {

constexpr uint16_t FORMULA = 0x0006;
constexpr uint16_t NAME = 0x0018;
constexpr uint16_t EOF_RECORD = 0x000A;
constexpr uint16_t NOTE = 0x001C;
constexpr uint16_t DATEMODE = 0x0022;
constexpr uint16_t FILEPASS = 0x002F;
constexpr uint16_t CONTINUE = 0x003C;
constexpr uint16_t CODEPAGE = 0x0042;
constexpr uint16_t OBJ = 0x005D;
constexpr uint16_t BOUNDSHEET = 0x0085;
constexpr uint16_t MULRK = 0x00BD;
constexpr uint16_t RSTRING = 0x00D6;
constexpr uint16_t XF = 0x00E0;
constexpr uint16_t MSODRAWING = 0x00EC;
constexpr uint16_t SST = 0x00FC;
constexpr uint16_t LABELSST = 0x00FD;
constexpr uint16_t SUPBOOK = 0x01AE;
constexpr uint16_t TXO = 0x01B6;
constexpr uint16_t BLANK = 0x0201;
constexpr uint16_t NUMBER = 0x0203;
constexpr uint16_t LABEL = 0x0204;
constexpr uint16_t BOOLERR = 0x0205;
constexpr uint16_t STRING = 0x0207;
constexpr uint16_t RK = 0x027E;
constexpr uint16_t STYLE = 0x0293;
constexpr uint16_t FORMAT = 0x041E;
// Formula records numbered as in Excel 3.0 and 4.0, which some writers
// still put into later books; their first 14 bytes are laid out alike.
constexpr uint16_t FORMULA_BIFF3 = 0x0206;
constexpr uint16_t FORMULA_BIFF4 = 0x0406;
constexpr uint16_t BOF = 0x0809;
// The cell records of Excel 2.x worksheets, whose cells carry their number
// format in three attribute bytes instead of a cell-format index.
constexpr uint16_t BLANK_BIFF2 = 0x0001;
constexpr uint16_t INTEGER_BIFF2 = 0x0002;
constexpr uint16_t NUMBER_BIFF2 = 0x0003;
constexpr uint16_t LABEL_BIFF2 = 0x0004;
constexpr uint16_t BOOLERR_BIFF2 = 0x0005;
constexpr uint16_t FORMULA_BIFF2 = 0x0006;
constexpr uint16_t STRING_BIFF2 = 0x0007;
// The records of Excel 3.0 and 4.0 worksheets that differ from later ones:
// their BOF, their cell formats, and the Excel 3.0 number format, which
// holds the code alone.
constexpr uint16_t BOF_BIFF2 = 0x0009;
constexpr uint16_t BOF_BIFF3 = 0x0209;
constexpr uint16_t BOF_BIFF4 = 0x0409;
constexpr uint16_t XF_BIFF3 = 0x0243;
constexpr uint16_t XF_BIFF4 = 0x0443;
constexpr uint16_t FORMAT_BIFF3 = 0x001E;
constexpr uint16_t NAMECMT = 0x0894;

// Substream types of a BOF record.
constexpr uint16_t BOF_GLOBALS = 0x0005;
constexpr uint16_t BOF_WORKSHEET = 0x0010;
constexpr uint16_t BOF_CHART = 0x0020;

inline bool is_bof(uint16_t number) {
    return number == BOF || number == BOF_BIFF2 || number == BOF_BIFF3 || number == BOF_BIFF4;
}

// BOF versions from this one on use the Excel 97-2003 (BIFF8) layouts;
// earlier ones (Excel 5.0/95) keep byte strings in the book's code page.
constexpr uint16_t BIFF8_VERSION = 0x0600;

// Results of the record handler besides 0 and the negative codes.
constexpr int END_OF_STREAM = 1403;

struct Record {
    uint16_t number = 0;
    uint16_t length = 0;
    const unsigned char *data = nullptr;
    uint64_t offset = 0;   // position of the record header in the stream
};

inline uint16_t u16(const unsigned char *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

inline uint32_t u32(const unsigned char *p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline double f64(const unsigned char *p) {
    uint64_t bits = static_cast<uint64_t>(u32(p)) | (static_cast<uint64_t>(u32(p + 4)) << 32);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace biff
