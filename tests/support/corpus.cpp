// The third-party corpus of test books.
#include "corpus.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace corpus {

std::string dir() {
    const char *env = std::getenv("ZS_CORPUS_DIR");
    return env && *env ? env : ZS_CORPUS_DIR;
}

std::string path(const std::string &relative) { return dir() + "/" + relative; }

bool Book::marked(std::initializer_list<const char *> marks) const {
    for (const char *mark : marks)
        if (notes.rfind(mark, 0) == 0) return true;
    return false;
}

std::vector<Book> books(std::initializer_list<const char *> formats) {
    std::vector<Book> rows;
    std::istringstream manifest(read_file(path("MANIFEST.tsv")));
    for (std::string line; std::getline(manifest, line);) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, '\t');) fields.push_back(field);
        if (fields.size() < 7) continue;
        bool wanted = false;
        for (const char *format : formats) wanted = wanted || fields[4] == format;
        if (wanted && std::filesystem::exists(path(fields[0])))
            rows.push_back({fields[0], fields[4], std::atoll(fields[5].c_str()), fields[6]});
    }
    return rows;
}

std::string unescape(const std::string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

std::string param_name(const ::testing::TestParamInfo<std::string> &info) {
    std::string name = std::to_string(info.index) + "_";
    for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name.substr(0, 80);
}

}  // namespace corpus
