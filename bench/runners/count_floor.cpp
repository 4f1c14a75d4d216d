// The floor of the speed comparison: the least work any search of a tree of
// Excel 2007 books must do.  For every .xlsx below FOLDER it inflates each
// worksheet part and the shared-strings part with zlib (through minizip)
// into one reused buffer and counts the occurrences of NEEDLE with memmem.
// No XML is parsed, no cell is formed.  Prints the count.
//
//   count_floor FOLDER NEEDLE
//
// Exit status 0, or 2 with a message when a book cannot be read.
#include <unzip.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool is_searched_part(std::string_view name) {
    return name == "xl/sharedStrings.xml" ||
           (name.starts_with("xl/worksheets/") && name.ends_with(".xml") &&
            name.find('/', std::strlen("xl/worksheets/")) == std::string_view::npos);
}

long count_in(const std::vector<char> &data, size_t size, std::string_view needle) {
    long count = 0;
    const char *at = data.data();
    const char *end = at + size;
    while (const void *hit = memmem(at, static_cast<size_t>(end - at), needle.data(), needle.size())) {
        ++count;
        at = static_cast<const char *>(hit) + needle.size();
    }
    return count;
}

// Adds the needles of one book to `count`; false when the book cannot be read.
bool count_book(const std::filesystem::path &path, std::string_view needle,
                std::vector<char> &buffer, long &count) {
    unzFile book = unzOpen64(path.c_str());
    if (book == nullptr) return false;
    bool ok = true;
    for (int at = unzGoToFirstFile(book); at == UNZ_OK && ok; at = unzGoToNextFile(book)) {
        unz_file_info64 info{};
        char name[512];
        if (unzGetCurrentFileInfo64(book, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK ||
            !is_searched_part(name))
            continue;
        if (buffer.size() < info.uncompressed_size) buffer.resize(info.uncompressed_size);
        ok = unzOpenCurrentFile(book) == UNZ_OK;
        size_t size = 0;
        while (ok && size < info.uncompressed_size) {
            const unsigned piece = static_cast<unsigned>(
                std::min<size_t>(info.uncompressed_size - size, 1u << 30));
            const int got = unzReadCurrentFile(book, buffer.data() + size, piece);
            if (got <= 0) ok = false;
            else size += static_cast<size_t>(got);
        }
        if (unzCloseCurrentFile(book) != UNZ_OK) ok = false;
        if (ok) count += count_in(buffer, size, needle);
    }
    unzClose(book);
    return ok;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: count_floor FOLDER NEEDLE\n");
        return 2;
    }
    const std::string_view needle = argv[2];
    std::vector<char> buffer;
    long count = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(argv[1])) {
        if (!entry.is_regular_file() || entry.path().extension() != ".xlsx") continue;
        if (!count_book(entry.path(), needle, buffer, count)) {
            std::fprintf(stderr, "count_floor: cannot read %s\n", entry.path().c_str());
            return 2;
        }
    }
    std::printf("%ld\n", count);
    return 0;
}
