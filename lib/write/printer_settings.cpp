// The device-mode record of the printer settings part, built field by field
// in little-endian order.
#include "printer_settings.h"

#include <cstdint>

namespace {

constexpr int PUBLIC_SIZE = 220;   // sizeof(DEVMODEW)
constexpr int NAME_CHARS = 32;     // device and form names, UTF-16 code units
constexpr uint16_t SPEC_VERSION = 0x0401;

// Fields present (DM_* bits).
constexpr uint32_t FIELD_ORIENTATION = 0x1, FIELD_PAPER_SIZE = 0x2, FIELD_SCALE = 0x10,
                   FIELD_COPIES = 0x100, FIELD_DEFAULT_SOURCE = 0x200, FIELD_PRINT_QUALITY = 0x400,
                   FIELD_COLOR = 0x800, FIELD_DUPLEX = 0x1000, FIELD_Y_RESOLUTION = 0x2000,
                   FIELD_TT_OPTION = 0x4000, FIELD_COLLATE = 0x8000, FIELD_FORM_NAME = 0x10000;

class RecordWriter {
public:
    explicit RecordWriter(std::string &bytes) : bytes_(bytes) {}
    void u16(size_t at, uint16_t value) {
        bytes_[at] = static_cast<char>(value & 0xFF);
        bytes_[at + 1] = static_cast<char>(value >> 8);
    }
    void u32(size_t at, uint32_t value) {
        u16(at, static_cast<uint16_t>(value & 0xFFFF));
        u16(at + 2, static_cast<uint16_t>(value >> 16));
    }
    // An ASCII name as UTF-16, NUL-padded to NAME_CHARS units.
    void name(size_t at, const char *text) {
        for (int i = 0; i < NAME_CHARS - 1 && text[i]; ++i)
            u16(at + 2 * static_cast<size_t>(i), static_cast<unsigned char>(text[i]));
    }

private:
    std::string &bytes_;
};

}  // namespace

std::string ozw_printer_settings(short paper_size, short orientation) {
    std::string bytes(PRINTER_SETTINGS_SIZE, '\0');
    RecordWriter record(bytes);
    record.name(0, "Microsoft XPS Document Writer");
    record.u16(64, SPEC_VERSION);
    record.u16(66, 0);                                      // driver version
    record.u16(68, PUBLIC_SIZE);
    record.u16(70, PRINTER_SETTINGS_SIZE - PUBLIC_SIZE);    // driver data
    record.u32(72, FIELD_ORIENTATION | FIELD_PAPER_SIZE | FIELD_SCALE | FIELD_COPIES |
                       FIELD_DEFAULT_SOURCE | FIELD_PRINT_QUALITY | FIELD_COLOR | FIELD_DUPLEX |
                       FIELD_Y_RESOLUTION | FIELD_TT_OPTION | FIELD_COLLATE |
                       (paper_size == PAPER_A4 ? FIELD_FORM_NAME : 0));
    record.u16(76, static_cast<uint16_t>(orientation));
    record.u16(78, static_cast<uint16_t>(paper_size));
    record.u16(84, 100);    // scale, percent
    record.u16(86, 1);      // copies
    record.u16(88, 15);     // paper source: automatic (form source)
    record.u16(90, 600);    // print quality, dpi
    record.u16(92, 2);      // colour
    record.u16(94, 1);      // simplex
    record.u16(96, 600);    // vertical resolution, dpi
    record.u16(98, 4);      // TrueType fonts downloaded as outlines
    record.u16(100, 1);     // collate
    if (paper_size == PAPER_A4) record.name(102, "A4");
    return bytes;
}
