// orb_file_type: the kind of a file from its leading bytes and its name,
// by walking a fixed table of known kinds in order.
#include "file_type.h"

#include "mfile.h"
#include "oxls.h"
#include "platform/platform.h"
#include "result_codes.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

struct FileKind {
    int type;
    const char *name;
    const char *extension;   // without the dot
    const char *leading;     // two-digit hexadecimal values separated by blanks
};

constexpr const char *ZIP_BYTES = "50 4B 03 04";
constexpr const char *CFB_BYTES = "D0 CF 11 E0 A1 B1 1A E1";
constexpr const char *BIFF_BOF_BYTES = "09 08";

// Walk order matters: kinds sharing leading bytes are told apart by the
// first entry whose extension matches.
constexpr FileKind KINDS[] = {
    {202, "JPEG", "jpg", "FF D8 FF"},
    {202, "JPEG", "jpeg", "FF D8 FF"},
    {204, "GIF", "gif", "47 49 46 38"},
    {201, "BMP", "bmp", "42 4D"},
    {203, "PNG", "png", "89 50 4E 47 0D 0A 1A 0A"},
    {205, "TIFF", "tiff", "49 49 2A 00"},
    {205, "TIFF", "tif", "49 49 2A 00"},
    {301, "Zip", "zip", ZIP_BYTES},
    {11, "MS-Excel2003", "xls", CFB_BYTES},
    {12, "MS-Excel2003-Template", "xlt", CFB_BYTES},
    {13, "MS-Excel2003-AddIn", "xla", CFB_BYTES},
    // A workbook stream written without a compound file around it, as some
    // exporters do: it opens with a BIFF5 or BIFF8 BOF record.  An Excel
    // 2.x, 3.0 or 4.0 file is such a stream too.
    {11, "MS-Excel-Workbook-Stream", "xls", BIFF_BOF_BYTES},
    {11, "MS-Excel2-Worksheet", "xls", "09 00 04 00"},
    {11, "MS-Excel3-Worksheet", "xls", "09 02 06 00"},
    {11, "MS-Excel4-Worksheet", "xls", "09 04 06 00"},
    {20, "MS-Excel2007", "xlsx", ZIP_BYTES},
    {21, "MS-Excel2007-BINARY", "xlsb", ZIP_BYTES},
    {25, "MS-Excel2007-Macro", "xlsm", ZIP_BYTES},
    {24, "MS-Excel2007-AddIn", "xlam", ZIP_BYTES},
    {22, "MS-Excel2007-Template", "xltx", ZIP_BYTES},
    {23, "MS-Excel2007-Template-Macro", "xltm", ZIP_BYTES},
    {26, "MS-Excel2007-Locked", "xlsx", CFB_BYTES},
    {41, "MS-Word2003", "doc", CFB_BYTES},
    {42, "MS-Word2003-Template", "dot", CFB_BYTES},
    {43, "MS-Word2007", "docx", ZIP_BYTES},
    {46, "MS-Word2007-Macro", "docm", ZIP_BYTES},
    {44, "MS-Word2007-Template", "dotx", ZIP_BYTES},
    {45, "MS-Word2007-Template-Macro", "dotm", ZIP_BYTES},
    {49, "MS-Word2007-Locked", "docx", CFB_BYTES},
    {51, "MS-PowerPoint2003", "ppt", CFB_BYTES},
    {52, "MS-PowerPoint2003-Template", "pot", CFB_BYTES},
    {53, "MS-PowerPoint2003-Slide", "pps", CFB_BYTES},
    {54, "MS-PowerPoint2003-AddIn", "ppa", CFB_BYTES},
    {55, "MS-PowerPoint2007", "pptx", ZIP_BYTES},
    {61, "MS-PowerPoint2007-Macro", "pptm", ZIP_BYTES},
    {56, "MS-PowerPoint2007-Template", "potx", ZIP_BYTES},
    {57, "MS-PowerPoint2007-Template-Macro", "potm", ZIP_BYTES},
    {58, "MS-PowerPoint2007-Slide", "ppsx", ZIP_BYTES},
    {59, "MS-PowerPoint2007-Slide-Macro", "ppsm", ZIP_BYTES},
    {60, "MS-PowerPoint2007-AddIn", "ppam", ZIP_BYTES},
    {69, "MS-PowerPoint2007-Locked", "pptx", CFB_BYTES},
    {70, "MS-Project", "mpp", CFB_BYTES},
    {80, "MS-Visio", "vsd", CFB_BYTES},
    {81, "MS-Visio-Template", "vst", CFB_BYTES},
    {82, "MS-Visio-Stencil", "vss", CFB_BYTES},
    {83, "MS-Visio2013", "vsdx", ZIP_BYTES},
    {84, "MS-Visio2013-Macro", "vsdm", ZIP_BYTES},
    {85, "MS-Visio2013-Template", "vstx", ZIP_BYTES},
    {86, "MS-Visio2013-Template-Macro", "vstm", ZIP_BYTES},
    {87, "MS-Visio2013-Stencil", "vssx", ZIP_BYTES},
    {88, "MS-Visio2013-Stencil-Macro", "vssm", ZIP_BYTES},
    {90, "MS-XPS-Document", "xps", ZIP_BYTES},
    {102, "Adobe-PDF", "pdf", "25 50 44 46"},
    {103, "Adobe-Photoshop", "psd", "38 42 50 53"},
    {207, "Windows-MataFile", "wmf", "D7 CD C6 9A"},
    {206, "Enhanced-MataFile", "emf", "01 00 00 00"},
    {900, "EXE", "exe", "4D 5A"},
    {0, "CSV", "csv", ""},
    {401, "AVI", "avi", "52 49 46 46"},
    {402, "MPG", "mpg", "00 00 01"},
    {403, "WMV", "wmv", "30 26 B2 75 8E 66 CF 11"},
};

// The leading bytes of every kind, turned from text into bytes once (the
// first call initialises the table; later calls from any thread only read it).
const std::vector<std::string> &leading_bytes() {
    static const std::vector<std::string> parsed = [] {
        std::vector<std::string> table;
        for (const FileKind &kind : KINDS) {
            std::string bytes;
            const char *p = kind.leading;
            char *end = nullptr;
            for (long value = std::strtol(p, &end, 16); end != p; value = std::strtol(p, &end, 16)) {
                bytes.push_back(static_cast<char>(value));
                p = end;
            }
            table.push_back(std::move(bytes));
        }
        return table;
    }();
    return parsed;
}

bool ends_with_extension(const char *path, const char *extension) {
    size_t path_length = std::strlen(path);
    size_t length = std::strlen(extension);
    if (path_length < length) return false;
    const char *tail = path + path_length - length;
    for (size_t i = 0; i < length; ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != extension[i]) return false;
    }
    return true;
}

bool is_locked_office_document(int type) {
    return type == FILE_TYPE_XLSX_LOCKED || type == FILE_TYPE_DOCX_LOCKED || type == FILE_TYPE_PPTX_LOCKED;
}

// A file read from the start, either a memory file or a disk file.
class SequentialFile {
public:
    SequentialFile(const SequentialFile &) = delete;
    SequentialFile &operator=(const SequentialFile &) = delete;
    SequentialFile(int source, const char *path) {
        if (source == FILE_SOURCE_MEMORY)
            memory_ = mopen(path, "rb");
        else
            disk_ = zplat::file_open(path, zplat::FILE_READ);
    }
    ~SequentialFile() {
        if (memory_) mclose(memory_);
        zplat::file_close(disk_);
    }
    bool is_open() const { return memory_ || disk_; }
    size_t read(void *buffer, size_t count) {
        return memory_ ? mread(buffer, 1, count, memory_) : zplat::file_read(disk_, buffer, count);
    }
    bool rewind() { return memory_ ? mseek(memory_, 0, 0) == 0 : zplat::file_seek(disk_, 0, zplat::SEEK_FROM_START) == 0; }

private:
    MFILE *memory_ = nullptr;
    zplat::File *disk_ = nullptr;
};

constexpr size_t CFB_BLOCK = 512;
constexpr size_t CFB_ENTRY = 128;
constexpr size_t CFB_START_SECTOR_AT = 116;

std::string utf16le(const char *ascii) {
    std::string out;
    for (const char *p = ascii; *p; ++p) {
        out.push_back(*p);
        out.push_back('\0');
    }
    return out;
}

bool begins_with(const unsigned char *data, const std::string &prefix) {
    return std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

// Walks the directory of the compound file from the current position; see
// orb_find_cfb_entry.
bool find_entry(SequentialFile &file, const char *name, unsigned *start_sector) {
    const std::string root = utf16le("Root Entry");
    const std::string wanted = utf16le(name);
    if (wanted.size() > CFB_ENTRY) return false;
    unsigned char block[CFB_BLOCK];
    for (;;) {
        if (file.read(block, CFB_BLOCK) != CFB_BLOCK) return false;
        if (begins_with(block, root)) break;
    }
    // Entries follow one another from the root entry on, across blocks,
    // until one starts with FF FF FF FF (a table sector) or the file ends.
    size_t offset = 0;
    for (;;) {
        if (offset == CFB_BLOCK) {
            if (file.read(block, CFB_BLOCK) < CFB_ENTRY) return false;
            offset = 0;
        }
        const unsigned char *entry = block + offset;
        if (entry[0] == 0xFF && entry[1] == 0xFF && entry[2] == 0xFF && entry[3] == 0xFF) return false;
        if (begins_with(entry, wanted)) {
            if (start_sector) {
                const unsigned char *s = entry + CFB_START_SECTOR_AT;
                *start_sector = s[0] | s[1] << 8 | s[2] << 16 | static_cast<unsigned>(s[3]) << 24;
            }
            return true;
        }
        offset += CFB_ENTRY;
    }
}

}  // namespace

int orb_find_cfb_entry(int source, const char *path, const char *name, unsigned *start_sector) {
    if (!path || !name || source == FILE_SOURCE_HEADER) return OXLS_ERR_ARGUMENT;
    SequentialFile file(source, path);
    if (!file.is_open()) return OXLS_ERR_OPEN;
    return find_entry(file, name, start_sector) ? 1 : 0;
}

extern "C" int orb_file_type(int source, const char *path, int *type_out) {
    if (!type_out) return OXLS_ERR_ARGUMENT;
    *type_out = FILE_TYPE_UNKNOWN;
    if (!path) return OXLS_ERR_ARGUMENT;

    unsigned char header[FILE_HEADER_LEN];
    bool from_caller = source == FILE_SOURCE_HEADER;
    std::optional<SequentialFile> file;
    if (from_caller) {
        std::memcpy(header, path, FILE_HEADER_LEN);
    } else {
        file.emplace(source, path);
        if (!file->is_open()) return OXLS_ERR_OPEN;
        if (file->read(header, FILE_HEADER_LEN) < FILE_HEADER_LEN) return 0;
    }

    const std::vector<std::string> &leading = leading_bytes();
    for (size_t i = 0; i < std::size(KINDS); ++i) {
        const FileKind &kind = KINDS[i];
        const std::string &bytes = leading[i];
        if (bytes.empty()) {
            // Known by its extension alone; a caller's header has no name.
            if (!from_caller && ends_with_extension(path, kind.extension)) {
                *type_out = kind.type;
                return 0;
            }
            continue;
        }
        if (std::memcmp(header, bytes.data(), bytes.size()) != 0) continue;
        if (from_caller) {
            *type_out = kind.type;
            return 0;
        }
        if (!ends_with_extension(path, kind.extension)) continue;
        if (is_locked_office_document(kind.type)) {
            // An encrypted Office 2007 document is a compound file holding an
            // EncryptedPackage stream; any other compound file under such a
            // name cannot be read as what it claims to be.
            if (!file->rewind()) return OZW_SEEK_REFUSED;
            if (!find_entry(*file, CFB_ENCRYPTED_PACKAGE, nullptr)) return OZW_FAILED;
        }
        *type_out = kind.type;
        return 0;
    }
    return 0;
}
